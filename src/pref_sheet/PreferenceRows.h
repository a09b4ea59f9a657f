#pragma once
// The plain preferences of each page of the sheet as rows: a control of the
// page beside the preference variable it shows and the group that variable is
// written in, with the limits the store applies to it. Filling copies each
// row's variable to its control; storing compares every row of a group and,
// when any differs, stores them all (limited) and lists the group as changed.
// Values that need a conversion or have side effects (margins in units, the
// clipping code, window places, tunings, fonts' heights, spacings that lay the
// scores out again) are not rows: the fill and the store handle them by hand,
// after the rows of their group.

#include <climits>
#include <optional>
#include <span>

#include "pref_sheet/PreferencesSheet.h"

// The limits of a row's value when it is stored.
struct KPrefLimits {
  int low = INT_MIN;
  int high = INT_MAX;
  // A value outside [low, high] becomes this one rather than the nearer limit.
  std::optional<int> outside;
  // The value is limited before it is compared with the stored one, so an
  // entry that limits to the stored value changes nothing.
  bool beforeCompare = false;

  int Apply(int value) const;
};

template <typename Page>
struct KPrefRow {
  int Page::*control;
  int* stored;
  KPrefGroup group;
  KPrefLimits limits{};
};

template <typename Page>
struct KPrefTextRow {
  CString Page::*control;
  CString* stored;
  KPrefGroup group;
};

template <typename Page>
struct KPrefPageRows {
  std::span<const KPrefRow<Page>> numbers;
  std::span<const KPrefTextRow<Page>> texts;
};

// The rows of one page.
template <typename Page>
KPrefPageRows<Page> PreferenceRowsOf();
template <>
KPrefPageRows<KPropDocLayPrt> PreferenceRowsOf<KPropDocLayPrt>();
template <>
KPrefPageRows<KPropOptAsvVw> PreferenceRowsOf<KPropOptAsvVw>();
template <>
KPrefPageRows<KPropStfDrmTxt> PreferenceRowsOf<KPropStfDrmTxt>();
template <>
KPrefPageRows<KPropTab> PreferenceRowsOf<KPropTab>();
template <>
KPrefPageRows<KPropChord> PreferenceRowsOf<KPropChord>();
template <>
KPrefPageRows<KPropSclTxfTrns> PreferenceRowsOf<KPropSclTxfTrns>();
template <>
KPrefPageRows<KPropMIDI> PreferenceRowsOf<KPropMIDI>();
template <>
KPrefPageRows<KPropMIDIInput> PreferenceRowsOf<KPropMIDIInput>();

// Calls visit(page, rows) for every page of the sheet, in tab order.
template <typename Sheet, typename Visit>
void VisitPreferenceRows(Sheet& pages, Visit&& visit) {
  visit(pages.docLayPrt, PreferenceRowsOf<KPropDocLayPrt>());
  visit(pages.optAsvVw, PreferenceRowsOf<KPropOptAsvVw>());
  visit(pages.stfDrmTxt, PreferenceRowsOf<KPropStfDrmTxt>());
  visit(pages.tab, PreferenceRowsOf<KPropTab>());
  visit(pages.chord, PreferenceRowsOf<KPropChord>());
  visit(pages.sclTxfTrns, PreferenceRowsOf<KPropSclTxfTrns>());
  visit(pages.midi, PreferenceRowsOf<KPropMIDI>());
  visit(pages.midiInput, PreferenceRowsOf<KPropMIDIInput>());
}

// Every row's control shows its variable.
void FillPreferenceRows(KPreferencesSheet& pages);

// Whether any row of the group shows a value other than the stored one.
bool PreferenceRowsDiffer(const KPreferencesSheet& pages, KPrefGroup group);

// Stores every row of the group, limited.
void StorePreferenceRows(const KPreferencesSheet& pages, KPrefGroup group);
