// The placement table of the drawing cache: where the top-left corner of each
// symbol's picture lies from the point it marks (the column's x and the middle
// of its staff step or string), per symbol code 0..111 at the normal and the
// large size, for the plain symbols and for the flagged ones (code - 10000).
// The pictures are drawn to these offsets (their reference point is the
// offset negated); a marked entry uses the same offsets.

#include "lines/KSpeedLine.h"

namespace {

using Placement = KSpeedLine::Placement;

// {normal size, large size} per code.
constexpr Placement kPlain[KSpeedLine::kCodesPerSize][2] = {
    {{5, -3}, {6, -4}},      // 0 head-normal-filled
    {{5, -3}, {6, -4}},      // 1 head-normal-filled
    {{5, -3}, {6, -4}},      // 2 head-normal-filled
    {{5, -3}, {6, -4}},      // 3 head-normal-filled
    {{5, -3}, {6, -4}},      // 4 head-normal-filled
    {{5, -3}, {6, -4}},      // 5 head-normal-filled
    {{5, -3}, {6, -4}},      // 6 head-normal-filled
    {{5, -3}, {6, -4}},      // 7 head-normal-filled
    {{5, -3}, {6, -4}},      // 8 head-normal-filled
    {{5, -3}, {6, -4}},      // 9 head-normal-filled
    {{5, -3}, {6, -4}},      // 10 head-normal-hollow
    {{5, -3}, {6, -4}},      // 11 head-normal-hollow
    {{4, -3}, {5, -4}},      // 12 head-normal-whole
    {{7, -13}, {9, -17}},    // 13 grace-note
    {{2, 0}, {2, 0}},        // 14 rest-whole
    {{2, -3}, {2, -4}},      // 15 rest-half
    {{5, -8}, {6, -11}},     // 16 rest-quarter
    {{5, -8}, {6, -11}},     // 17 rest-8th
    {{4, -8}, {5, -11}},     // 18 rest-16th
    {{2, -8}, {2, -11}},     // 19 rest-32nd
    {{0, -10}, {0, -13}},    // 20 rest-64th
    {{8, 0}, {8, 0}},        // 21 bar-single
    {{2, 0}, {2, 0}},        // 22 bar-double
    {{2, 0}, {2, 0}},        // 23 bar-final
    {{2, 0}, {2, 0}},        // 24 repeat-start-dots
    {{1, 0}, {1, 0}},        // 25 repeat-end-dots
    {{2, 0}, {2, 0}},        // 26 repeat-bar
    {{-2, -7}, {-2, -9}},    // 27 natural
    {{-2, -8}, {-2, -11}},   // 28 sharp
    {{-4, -4}, {-5, -5}},    // 29 double-sharp
    {{-2, -9}, {-2, -12}},   // 30 flat
    {{-8, -9}, {-10, -12}},  // 31 double-flat
    {{10, 5}, {12, 7}},      // 32 tie-below
    {{10, 5}, {12, 7}},      // 33 tie-below-double
    {{10, -9}, {12, -12}},   // 34 tie-above
    {{10, -9}, {12, -12}},   // 35 tie-above-double
    {{14, -3}, {17, -4}},    // 36 dot
    {{14, -3}, {17, -4}},    // 37 double-dot
    {{3, -4}, {3, -6}},      // 38 trill
    {{3, -4}, {3, -6}},      // 39 trill-line
    {{5, -1}, {6, -1}},      // 40 vibrato
    {{3, -2}, {4, -3}},      // 41 vibrato-wide
    {{6, -3}, {8, -4}},      // 42 hammer-on
    {{6, -3}, {8, -4}},      // 43 hammer-on-below
    {{6, -3}, {8, -4}},      // 44 pull-off
    {{6, -3}, {8, -4}},      // 45 pull-off-below
    {{3, -6}, {3, -8}},      // 46 slide-up
    {{3, -6}, {3, -8}},      // 47 slide-down
    {{14, -5}, {18, -7}},    // 48 slide-out-up
    {{-7, 1}, {-10, 1}},     // 49 slide-in-below
    {{14, -1}, {18, -1}},    // 50 slide-out-down
    {{-7, -7}, {-10, -9}},   // 51 slide-in-above
    {{8, -1}, {10, -1}},     // 52 staccato
    {{8, -1}, {10, -1}},     // 53 staccato-below
    {{0, -8}, {-1, -11}},    // 54 arpeggio
    {{-1, -8}, {-3, -11}},   // 55 arpeggio-down
    {{5, -5}, {6, -6}},      // 56 finger-p
    {{5, -5}, {6, -6}},      // 57 finger-p-below
    {{7, -4}, {9, -6}},      // 58 finger-i
    {{7, -4}, {9, -6}},      // 59 finger-i-below
    {{4, -3}, {5, -4}},      // 60 finger-m
    {{4, -3}, {5, -4}},      // 61 finger-m-below
    {{6, -3}, {7, -4}},      // 62 finger-a
    {{6, -3}, {7, -4}},      // 63 finger-a-below
    {{5, -3}, {6, -3}},      // 64 accent
    {{5, -3}, {6, -3}},      // 65 accent-below
    {{5, 0}, {6, 0}},        // 66 tenuto
    {{5, 0}, {6, 0}},        // 67 tenuto-below
    {{5, -19}, {6, -26}},    // 68 clef-change-treble
    {{5, -5}, {6, -6}},      // 69 clef-change-bass
    {{-2, -3}, {-3, -3}},    // 70 swing-start
    {{0, -1}, {0, -1}},      // 71 swing-end
    {{6, -6}, {8, -8}},      // 72 strum-up
    {{6, -6}, {8, -8}},      // 73 strum-down
    {{9, -7}, {11, -10}},    // 74 bend
    {{9, -16}, {11, -21}},   // 75 bend-half
    {{5, -4}, {6, -5}},      // 76 down-bow
    {{6, -6}, {7, -7}},      // 77 up-bow
    {{7, -7}, {8, -10}},     // 78 pre-bend
    {{9, -7}, {11, -10}},    // 79 release
    {{7, -6}, {9, -7}},      // 80 paren-left
    {{7, -6}, {9, -8}},      // 81 paren-right
    {{-1, -5}, {-2, -7}},    // 82 pedal-down
    {{4, -4}, {6, -5}},      // 83 pedal-up
    {{9, -16}, {11, -21}},   // 84 bend-full
    {{5, -6}, {6, -8}},      // 85 tremolo-3
    {{6, -3}, {7, -4}},      // 86 rake
    {{2, -4}, {2, -5}},      // 87 fermata
    {{6, -2}, {8, -3}},      // 88 harmonic
    {{3, -6}, {4, -8}},      // 89 coda
    {{5, -5}, {6, -7}},      // 90 segno
    {{5, -3}, {7, -4}},      // 91 stopped
    {{5, -3}, {6, -4}},      // 92 open
    {{3, -2}, {4, -3}},      // 93 turn
    {{4, -6}, {5, -7}},      // 94 chord-repeat
    {{7, -3}, {9, -4}},      // 95 breath-mark
    {{0, 0}, {0, 0}},        // 96 repeat-both-dots
    {{0, 0}, {0, 0}},        // 97 repeat-two-bars
    {{0, -6}, {0, -8}},      // 98 time-common
    {{0, -8}, {0, -11}},     // 99 time-cut
    {{4, -2}, {5, -2}},      // 100 tab-harmonic
    {{5, -3}, {7, -4}},      // 101 dead-note
    {{2, -2}, {3, -3}},      // 102 octave-up
    {{2, -3}, {2, -3}},      // 103 octave-down
    {{5, -3}, {6, -4}},      // 104 unused-104
    {{5, -3}, {6, -4}},      // 105 unused-105
    {{5, -3}, {6, -4}},      // 106 unused-106
    {{5, -3}, {6, -5}},      // 107 empty-marker
    {{4, -5}, {4, -6}},      // 108 dynamic-p
    {{-3, -7}, {-4, -9}},    // 109 dynamic-mf
    {{3, -7}, {3, -9}},      // 110 dynamic-f
    {{-3, -7}, {-4, -9}},    // 111 dynamic-sfz
};

constexpr Placement kFlagged[KSpeedLine::kCodesPerSize][2] = {
    {{1, -4}, {1, -5}},        // 10000 ghost-half
    {{7, -2}, {9, -3}},        // 10001 cue-head
    {{1, -4}, {1, -5}},        // 10002 ghost-quarter
    {{-4, -13}, {-6, -17}},    // 10003 grace-slide-from-above
    {{-4, -13}, {-6, -17}},    // 10004 grace-acciaccatura
    {{-4, -13}, {-6, -17}},    // 10005 grace-appoggiatura
    {{-12, -13}, {-18, -17}},  // 10006 grace-pair
    {{-4, -13}, {-6, -17}},    // 10007 grace-slide-from-below
    {{5, -3}, {6, -4}},        // 10008 stemless-filled
    {{5, -3}, {6, -4}},        // 10009 stemless-filled-2
    {{5, -3}, {6, -4}},        // 10010 stemless-hollow
    {{5, -3}, {6, -4}},        // 10011 stemless-hollow-2
    {{3, -3}, {4, -4}},        // 10012 breve
    {{-7, -2}, {-12, -3}},     // 10013 grace-acciaccatura-down
    {{1, -5}, {1, -6}},        // 10014 multi-bar-rest
    {{0, -2}, {0, -3}},        // 10015 vibrato-extra-wide
    {{3, -4}, {4, -6}},        // 10016 turn-slashed
    {{5, -5}, {6, -6}},        // 10017 caesura
    {{3, -2}, {4, -3}},        // 10018 turn-inverted
    {{3, -11}, {4, -15}},      // 10019 turn-sharp
    {{3, -10}, {4, -14}},      // 10020 turn-flat
    {{5, -3}, {6, -4}},        // 10021 unused-10021
    {{0, 0}, {0, 0}},          // 10022 bar-dashed
    {{0, 0}, {0, 0}},          // 10023 bar-thick-thin
    {{5, -3}, {6, -4}},        // 10024 hi-hat-open
    {{5, -3}, {7, -4}},        // 10025 hi-hat-closed
    {{-3, -5}, {-4, -6}},      // 10026 repeat-four-bars
    {{-6, -6}, {-8, -8}},      // 10027 natural-bracketed
    {{-7, -6}, {-10, -8}},     // 10028 sharp-bracketed
    {{5, -3}, {6, -4}},        // 10029 stemless-x
    {{-7, -8}, {-10, -11}},    // 10030 flat-bracketed
    {{5, -3}, {6, -4}},        // 10031 stemless-circle-x
    {{0, -13}, {0, -17}},      // 10032 metronome-8th
    {{0, -13}, {0, -17}},      // 10033 metronome-16th
    {{0, -13}, {0, -17}},      // 10034 metronome-quarter
    {{0, -13}, {0, -17}},      // 10035 metronome-half
    {{14, -1}, {17, -1}},      // 10036 triple-dot
    {{5, -3}, {6, -4}},        // 10037 unused-10037
    {{-4, -1}, {-7, -1}},      // 10038 trill-extension
    {{5, -3}, {6, -4}},        // 10039 unused-10039
    {{0, -3}, {0, -3}},        // 10040 mordent-upper
    {{0, -4}, {0, -6}},        // 10041 mordent-lower
    {{2, -10}, {2, -14}},      // 10042 hammer-on-arc
    {{2, -10}, {2, -14}},      // 10043 hammer-on-arc-2
    {{2, -10}, {2, -14}},      // 10044 pull-off-arc
    {{2, -10}, {2, -14}},      // 10045 pull-off-arc-2
    {{2, -11}, {2, -14}},      // 10046 slide-arc
    {{2, -11}, {2, -14}},      // 10047 slide-arc-2
    {{5, -2}, {6, -2}},        // 10048 tremolo-1
    {{5, -3}, {7, -4}},        // 10049 scoop
    {{5, -4}, {6, -5}},        // 10050 tremolo-2
    {{14, 0}, {19, 0}},        // 10051 fall
    {{8, -3}, {10, -4}},       // 10052 staccatissimo
    {{5, -3}, {6, -4}},        // 10053 unused-10053
    {{-1, -13}, {-3, -17}},    // 10054 arpeggio-up
    {{-1, -8}, {-3, -11}},     // 10055 arpeggio-down
    {{7, -3}, {9, -4}},        // 10056 finger-1
    {{7, -3}, {9, -4}},        // 10057 finger-1-below
    {{6, -3}, {8, -4}},        // 10058 finger-2
    {{6, -3}, {8, -4}},        // 10059 finger-2-below
    {{7, -3}, {8, -4}},        // 10060 finger-3
    {{7, -3}, {8, -4}},        // 10061 finger-3-below
    {{6, -3}, {8, -4}},        // 10062 finger-4
    {{6, -3}, {8, -4}},        // 10063 finger-4-below
    {{6, -2}, {8, -4}},        // 10064 marcato
    {{6, -3}, {8, -4}},        // 10065 marcato-below
    {{3, -6}, {3, -8}},        // 10066 choke
    {{3, -6}, {3, -8}},        // 10067 choke-below
    {{5, -23}, {6, -31}},      // 10068 clef-change-treble-8va
    {{5, -4}, {6, -6}},        // 10069 clef-change-drums
    {{-4, -13}, {-6, -17}},    // 10070 grace-flam
    {{-12, -13}, {-18, -17}},  // 10071 grace-drag
    {{5, -3}, {6, -3}},        // 10072 let-ring
    {{6, -2}, {8, -3}},        // 10073 ring-mark
    {{5, -3}, {6, -4}},        // 10074 vibrato-bar-dip
    {{5, -3}, {7, -4}},        // 10075 vibrato-bar-scoop
    {{-20, -13}, {-29, -17}},  // 10076 grace-ruff
    {{-12, -2}, {-18, -3}},    // 10077 grace-pair-down
    {{7, -6}, {8, -9}},        // 10078 pre-bend-down
    {{9, -15}, {11, -20}},     // 10079 bend-release-half
    {{1, -4}, {1, -6}},        // 10080 bracket-left
    {{14, -5}, {18, -6}},      // 10081 bracket-right
    {{4, -2}, {5, -3}},        // 10082 hi-hat-foot
    {{0, -3}, {0, -3}},        // 10083 pedal-line-end
    {{-1, -2}, {-1, -3}},      // 10084 vibrato-bar
    {{5, -9}, {6, -11}},       // 10085 tremolo-4
    {{2, -2}, {2, -3}},        // 10086 rake-text
    {{2, -4}, {2, -5}},        // 10087 fermata-below
    {{2, -2}, {2, -3}},        // 10088 artificial-harmonic
    {{-4, -2}, {-7, -3}},      // 10089 grace-down
    {{-12, -2}, {-18, -3}},    // 10090 grace-pair-slashed
    {{9, -16}, {11, -21}},     // 10091 bend-quarter
    {{9, -15}, {11, -20}},     // 10092 release-quarter
    {{3, -2}, {4, -3}},        // 10093 turn-inverted-2
    {{5, -4}, {6, -5}},        // 10094 simile
    {{3, -6}, {3, -8}},        // 10095 breath-tick
    {{5, -3}, {6, -4}},        // 10096 unused-10096
    {{5, -3}, {6, -4}},        // 10097 unused-10097
    {{5, -3}, {6, -4}},        // 10098 unused-10098
    {{5, -3}, {6, -4}},        // 10099 unused-10099
    {{5, -3}, {6, -4}},        // 10100 unused-10100
    {{5, -3}, {6, -4}},        // 10101 unused-10101
    {{5, -3}, {6, -4}},        // 10102 unused-10102
    {{5, -3}, {6, -4}},        // 10103 unused-10103
    {{5, -3}, {6, -4}},        // 10104 unused-10104
    {{5, -3}, {6, -4}},        // 10105 unused-10105
    {{5, -3}, {6, -4}},        // 10106 unused-10106
    {{5, -3}, {6, -4}},        // 10107 unused-10107
    {{5, -3}, {6, -4}},        // 10108 unused-10108
    {{5, -3}, {6, -4}},        // 10109 unused-10109
    {{5, -3}, {6, -4}},        // 10110 unused-10110
    {{5, -3}, {6, -4}},        // 10111 unused-10111
};

Placement Lookup(const Placement (&table)[KSpeedLine::kCodesPerSize][2], int symbolId) {
  if (symbolId < 0 || symbolId >= 2 * KSpeedLine::kCodesPerSize) return {0, 0};
  return table[symbolId % KSpeedLine::kCodesPerSize][symbolId / KSpeedLine::kCodesPerSize];
}

}  // namespace

KSpeedLine::Placement KSpeedLine::GetPlacement(int symbolId) { return Lookup(kPlain, symbolId); }

KSpeedLine::Placement KSpeedLine::GetFlaggedPlacement(int symbolId) { return Lookup(kFlagged, symbolId); }
