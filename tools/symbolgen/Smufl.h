#pragma once
// SMuFL code points of the Bravura glyphs the generator uses. `--check-glyphs`
// compares each one's outline box with the font's metadata by name.

#include <array>

namespace smufl {

struct NamedGlyph {
  const char* name;
  char32_t code;
};

inline constexpr char32_t kBrace = 0xE000;
inline constexpr char32_t kBracketTop = 0xE003;
inline constexpr char32_t kBracketBottom = 0xE004;
inline constexpr char32_t kRepeatDots = 0xE043;
inline constexpr char32_t kSegno = 0xE047;
inline constexpr char32_t kCoda = 0xE048;
inline constexpr char32_t kGClef = 0xE050;
inline constexpr char32_t kGClef8vb = 0xE052;
inline constexpr char32_t kGClef8va = 0xE053;
inline constexpr char32_t kCClef = 0xE05C;
inline constexpr char32_t kFClef = 0xE062;
inline constexpr char32_t kPercussionClef1 = 0xE069;
inline constexpr char32_t kPercussionClef2 = 0xE06A;
inline constexpr char32_t kTabClef6 = 0xE06D;
inline constexpr char32_t kTabClef4 = 0xE06E;
inline constexpr char32_t kTimeSig0 = 0xE080;
inline constexpr char32_t kTimeSigCommon = 0xE08A;
inline constexpr char32_t kTimeSigCut = 0xE08B;
inline constexpr char32_t kNoteheadDoubleWhole = 0xE0A0;
inline constexpr char32_t kNoteheadWhole = 0xE0A2;
inline constexpr char32_t kNoteheadHalf = 0xE0A3;
inline constexpr char32_t kNoteheadBlack = 0xE0A4;
inline constexpr char32_t kNoteheadXBlack = 0xE0A9;
inline constexpr char32_t kNoteheadCircleX = 0xE0B3;
inline constexpr char32_t kNoteheadSquareWhite = 0xE0B8;
inline constexpr char32_t kNoteheadSquareBlack = 0xE0B9;
inline constexpr char32_t kNoteheadTriangleUpWhite = 0xE0BD;
inline constexpr char32_t kNoteheadTriangleUpBlack = 0xE0BE;
inline constexpr char32_t kNoteheadParenthesisLeft = 0xE0F5;
inline constexpr char32_t kNoteheadParenthesisRight = 0xE0F6;
inline constexpr char32_t kNoteheadDiamondWhite = 0xE0DD;
inline constexpr char32_t kNoteheadDiamondBlack = 0xE0DB;
inline constexpr char32_t kNoteheadSlashVerticalEnds = 0xE100;
inline constexpr char32_t kNoteheadSlashWhiteHalf = 0xE103;
inline constexpr char32_t kNoteheadSlashWhiteWhole = 0xE102;
inline constexpr char32_t kTremolo1 = 0xE220;
inline constexpr char32_t kFlag8thUp = 0xE240;
inline constexpr char32_t kFlag8thDown = 0xE241;
inline constexpr char32_t kFlag16thUp = 0xE242;
inline constexpr char32_t kFlag16thDown = 0xE243;
inline constexpr char32_t kFlag32ndUp = 0xE244;
inline constexpr char32_t kFlag32ndDown = 0xE245;
inline constexpr char32_t kFlag64thUp = 0xE246;
inline constexpr char32_t kFlag64thDown = 0xE247;
inline constexpr char32_t kFlat = 0xE260;
inline constexpr char32_t kNatural = 0xE261;
inline constexpr char32_t kSharp = 0xE262;
inline constexpr char32_t kDoubleSharp = 0xE263;
inline constexpr char32_t kDoubleFlat = 0xE264;
inline constexpr char32_t kAccidentalParensLeft = 0xE26A;
inline constexpr char32_t kAccidentalParensRight = 0xE26B;
inline constexpr char32_t kAccentAbove = 0xE4A0;
inline constexpr char32_t kAccentBelow = 0xE4A1;
inline constexpr char32_t kStaccatoAbove = 0xE4A2;
inline constexpr char32_t kStaccatoBelow = 0xE4A3;
inline constexpr char32_t kTenutoAbove = 0xE4A4;
inline constexpr char32_t kTenutoBelow = 0xE4A5;
inline constexpr char32_t kStaccatissimoAbove = 0xE4A6;
inline constexpr char32_t kMarcatoAbove = 0xE4AC;
inline constexpr char32_t kMarcatoBelow = 0xE4AD;
inline constexpr char32_t kFermataAbove = 0xE4C0;
inline constexpr char32_t kFermataBelow = 0xE4C1;
inline constexpr char32_t kBreathMarkComma = 0xE4CE;
inline constexpr char32_t kBreathMarkTick = 0xE4CF;
inline constexpr char32_t kCaesura = 0xE4D1;
inline constexpr char32_t kRestDoubleWhole = 0xE4E2;
inline constexpr char32_t kRestWhole = 0xE4E3;
inline constexpr char32_t kRestHalf = 0xE4E4;
inline constexpr char32_t kRestQuarter = 0xE4E5;
inline constexpr char32_t kRest8th = 0xE4E6;
inline constexpr char32_t kRest16th = 0xE4E7;
inline constexpr char32_t kRest32nd = 0xE4E8;
inline constexpr char32_t kRest64th = 0xE4E9;
inline constexpr char32_t kRestHBar = 0xE4EE;
inline constexpr char32_t kRepeat1Bar = 0xE500;
inline constexpr char32_t kRepeat2Bars = 0xE501;
inline constexpr char32_t kRepeat4Bars = 0xE502;
inline constexpr char32_t kDynamicPiano = 0xE520;
inline constexpr char32_t kDynamicMezzo = 0xE521;
inline constexpr char32_t kDynamicForte = 0xE522;
inline constexpr char32_t kDynamicSforzando = 0xE524;
inline constexpr char32_t kDynamicZ = 0xE525;
inline constexpr char32_t kGraceAcciaccaturaUp = 0xE560;
inline constexpr char32_t kGraceAcciaccaturaDown = 0xE561;
inline constexpr char32_t kGraceAppoggiaturaUp = 0xE562;
inline constexpr char32_t kTrill = 0xE566;
inline constexpr char32_t kTurn = 0xE567;
inline constexpr char32_t kTurnInverted = 0xE568;
inline constexpr char32_t kTurnSlash = 0xE569;
inline constexpr char32_t kShortTrill = 0xE56C;
inline constexpr char32_t kMordent = 0xE56D;
inline constexpr char32_t kHarmonic = 0xE614;  // stringsHarmonic: a small circle
inline constexpr char32_t kDownBow = 0xE610;
inline constexpr char32_t kUpBow = 0xE612;
inline constexpr char32_t kMuteClosed = 0xE5E5;  // "+"
inline constexpr char32_t kMuteOpen = 0xE5E7;    // "o"
inline constexpr char32_t kArpeggiato = 0xE63C;
inline constexpr char32_t kArpeggiatoUp = 0xE634;
inline constexpr char32_t kArpeggiatoDown = 0xE635;
inline constexpr char32_t kPedalPed = 0xE650;
inline constexpr char32_t kPedalUp = 0xE655;
inline constexpr char32_t kWiggleTrill = 0xEAA4;
inline constexpr char32_t kVibratoStroke = 0xEAB2;
inline constexpr char32_t kWideVibratoStroke = 0xEAB3;
inline constexpr char32_t kVibratoBarScoop = 0xE830;
inline constexpr char32_t kVibratoBarDip = 0xE831;
inline constexpr char32_t kStrumUp = 0xE846;
inline constexpr char32_t kStrumDown = 0xE847;
inline constexpr char32_t kFingering0 = 0xED10;
inline constexpr char32_t kFingeringP = 0xED17;
inline constexpr char32_t kFingeringI = 0xED19;
inline constexpr char32_t kFingeringM = 0xED1A;
inline constexpr char32_t kFingeringA = 0xED1B;
inline constexpr char32_t kMetNoteHalfUp = 0xECA3;
inline constexpr char32_t kMetNoteQuarterUp = 0xECA5;
inline constexpr char32_t kMetNote8thUp = 0xECA7;
inline constexpr char32_t kMetNote16thUp = 0xECA9;
inline constexpr char32_t kArrowBlackUp = 0xEB60;
inline constexpr char32_t kArrowBlackDown = 0xEB64;

// The names under which the font's metadata lists the glyphs above.
inline constexpr std::array kNamed = {
    NamedGlyph{"brace", kBrace},
    NamedGlyph{"bracketTop", kBracketTop},
    NamedGlyph{"bracketBottom", kBracketBottom},
    NamedGlyph{"repeatDots", kRepeatDots},
    NamedGlyph{"segno", kSegno},
    NamedGlyph{"coda", kCoda},
    NamedGlyph{"gClef", kGClef},
    NamedGlyph{"gClef8vb", kGClef8vb},
    NamedGlyph{"gClef8va", kGClef8va},
    NamedGlyph{"cClef", kCClef},
    NamedGlyph{"fClef", kFClef},
    NamedGlyph{"unpitchedPercussionClef1", kPercussionClef1},
    NamedGlyph{"unpitchedPercussionClef2", kPercussionClef2},
    NamedGlyph{"6stringTabClef", kTabClef6},
    NamedGlyph{"4stringTabClef", kTabClef4},
    NamedGlyph{"timeSig0", kTimeSig0},
    NamedGlyph{"timeSigCommon", kTimeSigCommon},
    NamedGlyph{"timeSigCutCommon", kTimeSigCut},
    NamedGlyph{"noteheadDoubleWhole", kNoteheadDoubleWhole},
    NamedGlyph{"noteheadWhole", kNoteheadWhole},
    NamedGlyph{"noteheadHalf", kNoteheadHalf},
    NamedGlyph{"noteheadBlack", kNoteheadBlack},
    NamedGlyph{"noteheadXBlack", kNoteheadXBlack},
    NamedGlyph{"noteheadCircleX", kNoteheadCircleX},
    NamedGlyph{"noteheadSquareWhite", kNoteheadSquareWhite},
    NamedGlyph{"noteheadSquareBlack", kNoteheadSquareBlack},
    NamedGlyph{"noteheadTriangleUpWhite", kNoteheadTriangleUpWhite},
    NamedGlyph{"noteheadTriangleUpBlack", kNoteheadTriangleUpBlack},
    NamedGlyph{"noteheadParenthesisLeft", kNoteheadParenthesisLeft},
    NamedGlyph{"noteheadParenthesisRight", kNoteheadParenthesisRight},
    NamedGlyph{"noteheadDiamondWhite", kNoteheadDiamondWhite},
    NamedGlyph{"noteheadDiamondBlack", kNoteheadDiamondBlack},
    NamedGlyph{"noteheadSlashVerticalEnds", kNoteheadSlashVerticalEnds},
    NamedGlyph{"noteheadSlashWhiteHalf", kNoteheadSlashWhiteHalf},
    NamedGlyph{"noteheadSlashWhiteWhole", kNoteheadSlashWhiteWhole},
    NamedGlyph{"tremolo1", kTremolo1},
    NamedGlyph{"flag8thUp", kFlag8thUp},
    NamedGlyph{"flag8thDown", kFlag8thDown},
    NamedGlyph{"flag16thUp", kFlag16thUp},
    NamedGlyph{"flag16thDown", kFlag16thDown},
    NamedGlyph{"flag32ndUp", kFlag32ndUp},
    NamedGlyph{"flag32ndDown", kFlag32ndDown},
    NamedGlyph{"flag64thUp", kFlag64thUp},
    NamedGlyph{"flag64thDown", kFlag64thDown},
    NamedGlyph{"accidentalFlat", kFlat},
    NamedGlyph{"accidentalNatural", kNatural},
    NamedGlyph{"accidentalSharp", kSharp},
    NamedGlyph{"accidentalDoubleSharp", kDoubleSharp},
    NamedGlyph{"accidentalDoubleFlat", kDoubleFlat},
    NamedGlyph{"accidentalParensLeft", kAccidentalParensLeft},
    NamedGlyph{"accidentalParensRight", kAccidentalParensRight},
    NamedGlyph{"articAccentAbove", kAccentAbove},
    NamedGlyph{"articAccentBelow", kAccentBelow},
    NamedGlyph{"articStaccatoAbove", kStaccatoAbove},
    NamedGlyph{"articStaccatoBelow", kStaccatoBelow},
    NamedGlyph{"articTenutoAbove", kTenutoAbove},
    NamedGlyph{"articTenutoBelow", kTenutoBelow},
    NamedGlyph{"articStaccatissimoAbove", kStaccatissimoAbove},
    NamedGlyph{"articMarcatoAbove", kMarcatoAbove},
    NamedGlyph{"articMarcatoBelow", kMarcatoBelow},
    NamedGlyph{"fermataAbove", kFermataAbove},
    NamedGlyph{"fermataBelow", kFermataBelow},
    NamedGlyph{"breathMarkComma", kBreathMarkComma},
    NamedGlyph{"breathMarkTick", kBreathMarkTick},
    NamedGlyph{"caesura", kCaesura},
    NamedGlyph{"restDoubleWhole", kRestDoubleWhole},
    NamedGlyph{"restWhole", kRestWhole},
    NamedGlyph{"restHalf", kRestHalf},
    NamedGlyph{"restQuarter", kRestQuarter},
    NamedGlyph{"rest8th", kRest8th},
    NamedGlyph{"rest16th", kRest16th},
    NamedGlyph{"rest32nd", kRest32nd},
    NamedGlyph{"rest64th", kRest64th},
    NamedGlyph{"restHBar", kRestHBar},
    NamedGlyph{"repeat1Bar", kRepeat1Bar},
    NamedGlyph{"repeat2Bars", kRepeat2Bars},
    NamedGlyph{"repeat4Bars", kRepeat4Bars},
    NamedGlyph{"dynamicPiano", kDynamicPiano},
    NamedGlyph{"dynamicMezzo", kDynamicMezzo},
    NamedGlyph{"dynamicForte", kDynamicForte},
    NamedGlyph{"dynamicSforzando", kDynamicSforzando},
    NamedGlyph{"dynamicZ", kDynamicZ},
    NamedGlyph{"graceNoteAcciaccaturaStemUp", kGraceAcciaccaturaUp},
    NamedGlyph{"graceNoteAcciaccaturaStemDown", kGraceAcciaccaturaDown},
    NamedGlyph{"graceNoteAppoggiaturaStemUp", kGraceAppoggiaturaUp},
    NamedGlyph{"ornamentTrill", kTrill},
    NamedGlyph{"ornamentTurn", kTurn},
    NamedGlyph{"ornamentTurnInverted", kTurnInverted},
    NamedGlyph{"ornamentTurnSlash", kTurnSlash},
    NamedGlyph{"ornamentShortTrill", kShortTrill},
    NamedGlyph{"ornamentMordent", kMordent},
    NamedGlyph{"stringsHarmonic", kHarmonic},
    NamedGlyph{"stringsDownBow", kDownBow},
    NamedGlyph{"stringsUpBow", kUpBow},
    NamedGlyph{"brassMuteClosed", kMuteClosed},
    NamedGlyph{"brassMuteOpen", kMuteOpen},
    NamedGlyph{"arpeggiato", kArpeggiato},
    NamedGlyph{"arpeggiatoUp", kArpeggiatoUp},
    NamedGlyph{"arpeggiatoDown", kArpeggiatoDown},
    NamedGlyph{"keyboardPedalPed", kPedalPed},
    NamedGlyph{"keyboardPedalUp", kPedalUp},
    NamedGlyph{"wiggleTrill", kWiggleTrill},
    NamedGlyph{"guitarVibratoStroke", kVibratoStroke},
    NamedGlyph{"guitarWideVibratoStroke", kWideVibratoStroke},
    NamedGlyph{"guitarVibratoBarScoop", kVibratoBarScoop},
    NamedGlyph{"guitarVibratoBarDip", kVibratoBarDip},
    NamedGlyph{"guitarStrumUp", kStrumUp},
    NamedGlyph{"guitarStrumDown", kStrumDown},
    NamedGlyph{"fingering0", kFingering0},
    NamedGlyph{"fingeringPLower", kFingeringP},
    NamedGlyph{"fingeringILower", kFingeringI},
    NamedGlyph{"fingeringMLower", kFingeringM},
    NamedGlyph{"fingeringALower", kFingeringA},
    NamedGlyph{"metNoteHalfUp", kMetNoteHalfUp},
    NamedGlyph{"metNoteQuarterUp", kMetNoteQuarterUp},
    NamedGlyph{"metNote8thUp", kMetNote8thUp},
    NamedGlyph{"metNote16thUp", kMetNote16thUp},
    NamedGlyph{"arrowBlackUp", kArrowBlackUp},
    NamedGlyph{"arrowBlackDown", kArrowBlackDown},
};

}  // namespace smufl
