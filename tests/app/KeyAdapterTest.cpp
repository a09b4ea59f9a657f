// The Qt key adapter: each Qt key press becomes the window messages the
// view's handlers expect (key-down or system key-down with the virtual key,
// then the character in Windows-1252), the keys the view takes before the
// menu accelerators, the Caps Lock toggle learnt from typed letters, and the
// key state GetKeyState reports while a key event is handled.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Keys.h"
#include "platform/qt/KQtKeyState.h"
#include "platform_qt/WidgetTestApp.h"
#include "view/qt/KQtKeyAdapter.h"

void PrintTo(const KWinKeyMessage& message, std::ostream* out) { *out << Describe(message); }

namespace {

using Kind = KWinKeyMessage::Kind;
constexpr Kind kDown = KWinKeyMessage::kKeyDown;
constexpr Kind kSys = KWinKeyMessage::kSysKeyDown;
constexpr Kind kChar = KWinKeyMessage::kChar;
constexpr UINT kExt = KQtKeyAdapter::kExtendedKey;
constexpr UINT kAlt = KQtKeyAdapter::kAltHeld;
constexpr UINT kRepeat = KQtKeyAdapter::kWasDown;

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kAltKey = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kPad = Qt::KeypadModifier;

struct TranslationCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;  // UTF-8
  bool autoRepeat;
  int count;
  std::vector<KWinKeyMessage> expected;
};

void PrintTo(const TranslationCase& c, std::ostream* out) { *out << c.name; }

QKeyEvent Press(int key, Qt::KeyboardModifiers modifiers, const char* text, bool autoRepeat = false,
                int count = 1) {
  return QKeyEvent(QEvent::KeyPress, key, modifiers, QString::fromUtf8(text), autoRepeat,
                   static_cast<quint16>(count));
}

class KeyTranslation : public ::testing::TestWithParam<TranslationCase> {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_P(KeyTranslation, GivesTheWindowMessagesInOrder) {
  const TranslationCase& c = GetParam();
  KQtKeyAdapter adapter;
  const QKeyEvent event = Press(c.key, c.modifiers, c.text, c.autoRepeat, c.count);
  EXPECT_EQ(adapter.Translate(event), c.expected);
}

const TranslationCase kTranslations[] = {
    {"LetterSendsItsKeyThenItsCharacter",
     Qt::Key_Q,
     kNone,
     "q",
     false,
     1,
     {{kDown, 'Q', 1, 0x10}, {kChar, 'q', 1, 0x10}}},
    {"ShiftedLetterSendsTheCapital",
     Qt::Key_G,
     kShift,
     "G",
     false,
     1,
     {{kDown, 'G', 1, 0x22}, {kChar, 'G', 1, 0x22}}},
    {"ShiftedDigitIsTheDigitKeyTypingItsSymbol",
     Qt::Key_Dollar,
     kShift,
     "$",
     false,
     1,
     {{kDown, '4', 1, 0x05}, {kChar, '$', 1, 0x05}}},
    {"BarIsTheBackslashKeyShifted",
     Qt::Key_Bar,
     kShift,
     "|",
     false,
     1,
     {{kDown, VK_OEM_5, 1, 0x2B}, {kChar, '|', 1, 0x2B}}},
    {"KeypadDigitIsANumpadKey",
     Qt::Key_5,
     kPad,
     "5",
     false,
     1,
     {{kDown, VK_NUMPAD5, 1, 0x4C}, {kChar, '5', 1, 0x4C}}},
    {"SpaceTypesABlank",
     Qt::Key_Space,
     kNone,
     " ",
     false,
     1,
     {{kDown, VK_SPACE, 1, 0x39}, {kChar, ' ', 1, 0x39}}},
    {"BackspaceTypesCharacterEight",
     Qt::Key_Backspace,
     kNone,
     "\b",
     false,
     1,
     {{kDown, VK_BACK, 1, 0x0E}, {kChar, 8, 1, 0x0E}}},
    {"TabTypesCharacterNine",
     Qt::Key_Tab,
     kNone,
     "\t",
     false,
     1,
     {{kDown, VK_TAB, 1, 0x0F}, {kChar, 9, 1, 0x0F}}},
    {"ShiftTabIsTheTabKeyWithItsCharacter",
     Qt::Key_Backtab,
     kShift,
     "",
     false,
     1,
     {{kDown, VK_TAB, 1, 0x0F}, {kChar, 9, 1, 0x0F}}},
    {"EnterTypesCharacterThirteen",
     Qt::Key_Return,
     kNone,
     "\r",
     false,
     1,
     {{kDown, VK_RETURN, 1, 0x1C}, {kChar, 13, 1, 0x1C}}},
    {"KeypadEnterIsTheExtendedReturn",
     Qt::Key_Enter,
     kPad,
     "\r",
     false,
     1,
     {{kDown, VK_RETURN, 1, 0x1C | kExt}, {kChar, 13, 1, 0x1C | kExt}}},
    {"EscapeTypesCharacterTwentySeven",
     Qt::Key_Escape,
     kNone,
     "\x1b",
     false,
     1,
     {{kDown, VK_ESCAPE, 1, 0x01}, {kChar, 27, 1, 0x01}}},
    {"DeleteTypesNothing", Qt::Key_Delete, kNone, "\x7f", false, 1, {{kDown, VK_DELETE, 1, 0x53 | kExt}}},
    {"ArrowTypesNothing", Qt::Key_Left, kNone, "", false, 1, {{kDown, VK_LEFT, 1, 0x4B | kExt}}},
    {"ShiftArrowIsTheSameKeyDown", Qt::Key_Right, kShift, "", false, 1, {{kDown, VK_RIGHT, 1, 0x4D | kExt}}},
    {"CtrlHomeIsAKeyDown", Qt::Key_Home, kCtrl, "", false, 1, {{kDown, VK_HOME, 1, 0x47 | kExt}}},
    {"PageDownIsAKeyDown", Qt::Key_PageDown, kNone, "", false, 1, {{kDown, VK_NEXT, 1, 0x51 | kExt}}},
    {"FunctionKeyIsAKeyDown", Qt::Key_F4, kNone, "", false, 1, {{kDown, VK_F4, 1, 0x3E}}},
    {"AltArrowIsASystemKey", Qt::Key_Up, kAltKey, "", false, 1, {{kSys, VK_UP, 1, 0x48 | kExt | kAlt}}},
    {"AltShiftArrowIsASystemKey",
     Qt::Key_Left,
     kAltKey | kShift,
     "",
     false,
     1,
     {{kSys, VK_LEFT, 1, 0x4B | kExt | kAlt}}},
    {"AltLetterIsLeftToTheMenuBar", Qt::Key_F, kAltKey, "f", false, 1, {}},
    {"AltAloneIsLeftToTheMenuBar", Qt::Key_Alt, kAltKey, "", false, 1, {}},
    {"CtrlAltArrowIsAPlainKeyDown",
     Qt::Key_Left,
     kCtrl | kAltKey,
     "",
     false,
     1,
     {{kDown, VK_LEFT, 1, 0x4B | kExt | kAlt}}},
    {"CtrlLetterTypesNoControlCharacter", Qt::Key_S, kCtrl, "\x13", false, 1, {{kDown, 'S', 1, 0x1F}}},
    {"CtrlBackspaceTypesNothing", Qt::Key_Backspace, kCtrl, "\x7f", false, 1, {{kDown, VK_BACK, 1, 0x0E}}},
    {"CtrlSpaceTypesNothing", Qt::Key_Space, kCtrl, " ", false, 1, {{kDown, VK_SPACE, 1, 0x39}}},
    {"AltGrCharacterIsTypedInWindows1252",
     Qt::Key_E,
     kCtrl | kAltKey,
     "\u20ac",
     false,
     1,
     {{kDown, 'E', 1, 0x12 | kAlt}, {kChar, 0x80, 1, 0x12 | kAlt}}},
    {"AccentedLetterOfAnotherLayoutIsTypedInWindows1252",
     Qt::Key_Eacute,
     kNone,
     "\u00e9",
     false,
     1,
     {{kDown, VK_OEM_3, 1, 0x29}, {kChar, 0xE9, 1, 0x29}}},
    {"CharacterWindows1252CannotHoldIsNotSent",
     0x42F /* Cyrillic ya */,
     kNone,
     "\u044f",
     false,
     1,
     {{kDown, VK_OEM_3, 1, 0x29}}},
    {"QuestionMarkIsSentAsItself",
     Qt::Key_Question,
     kShift,
     "?",
     false,
     1,
     {{kDown, VK_OEM_2, 1, 0x35}, {kChar, '?', 1, 0x35}}},
    {"AutoRepeatMarksTheKeyAsAlreadyDown",
     Qt::Key_Right,
     kNone,
     "",
     true,
     1,
     {{kDown, VK_RIGHT, 1, 0x4D | kExt | kRepeat}}},
    {"CompressedRepeatGivesItsCountAndEveryCharacter",
     Qt::Key_A,
     kNone,
     "aaa",
     true,
     3,
     {{kDown, 'A', 3, 0x1E | kRepeat},
      {kChar, 'a', 1, 0x1E | kRepeat},
      {kChar, 'a', 1, 0x1E | kRepeat},
      {kChar, 'a', 1, 0x1E | kRepeat}}},
    {"ShiftAloneIsItsOwnKeyDown", Qt::Key_Shift, kShift, "", false, 1, {{kDown, VK_SHIFT, 1, 0x2A}}},
    {"CapsLockKeyIsItsOwnKeyDown", Qt::Key_CapsLock, kNone, "", false, 1, {{kDown, VK_CAPITAL, 1, 0x3A}}},
};

INSTANTIATE_TEST_SUITE_P(Keys, KeyTranslation, ::testing::ValuesIn(kTranslations),
                         [](const ::testing::TestParamInfo<TranslationCase>& info) {
                           return info.param.name;
                         });

// ---- The keys the view takes before the menu accelerators -----------------------------

struct ViewKeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
  bool viewKey;
};

void PrintTo(const ViewKeyCase& c, std::ostream* out) { *out << c.name; }

class ViewKeys : public ::testing::TestWithParam<ViewKeyCase> {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_P(ViewKeys, AreTakenBeforeTheAccelerators) {
  const ViewKeyCase& c = GetParam();
  const QKeyEvent event = Press(c.key, c.modifiers, c.text);
  EXPECT_EQ(KQtKeyAdapter::IsViewKey(event), c.viewKey);
}

const ViewKeyCase kViewKeys[] = {
    {"PlainArrow", Qt::Key_Left, kNone, "", true},
    {"CtrlArrowWordStep", Qt::Key_Right, kCtrl, "", true},
    {"ShiftCtrlArrowNoteMove", Qt::Key_Up, kCtrl | kShift, "", true},
    {"AltArrowEdit", Qt::Key_Down, kAltKey, "", true},
    {"FunctionKeyNoteStyle", Qt::Key_F6, kNone, "", true},
    {"CtrlHome", Qt::Key_Home, kCtrl, "", true},
    {"InsertAndDelete", Qt::Key_Delete, kShift, "", true},
    {"TypedLetter", Qt::Key_Q, kNone, "q", true},
    {"TypedBar", Qt::Key_Bar, kShift, "|", true},
    {"Backspace", Qt::Key_Backspace, kNone, "\b", true},
    {"ShiftTab", Qt::Key_Backtab, kShift, "", true},
    {"Escape", Qt::Key_Escape, kNone, "\x1b", true},
    {"CtrlLetterIsAnAccelerator", Qt::Key_S, kCtrl, "\x13", false},
    {"CtrlShiftDigitIsAnAccelerator", Qt::Key_1, kCtrl | kShift, "", false},
    {"AltLetterIsAMenuMnemonic", Qt::Key_F, kAltKey, "f", false},
    {"CtrlAltLetterIsAnAccelerator", Qt::Key_A, kCtrl | kAltKey, "", false},
    {"FunctionKeyPastSixIsNotTheViews", Qt::Key_F7, kNone, "", false},
};

INSTANTIATE_TEST_SUITE_P(Keys, ViewKeys, ::testing::ValuesIn(kViewKeys),
                         [](const ::testing::TestParamInfo<ViewKeyCase>& info) { return info.param.name; });

// ---- Caps Lock learnt from the keys ------------------------------------------------------

struct KeyPress {
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
};

struct CapsCase {
  const char* name;
  std::vector<KeyPress> presses;
  std::optional<bool> capsLock;
};

void PrintTo(const CapsCase& c, std::ostream* out) { *out << c.name; }

class CapsLockLearnt : public ::testing::TestWithParam<CapsCase> {
 protected:
  void SetUp() override { WidgetTestApp(); }
};

TEST_P(CapsLockLearnt, FromTheKeysTyped) {
  const CapsCase& c = GetParam();
  KQtKeyAdapter adapter;
  for (const KeyPress& press : c.presses) adapter.Translate(Press(press.key, press.modifiers, press.text));
  EXPECT_EQ(adapter.CapsLock(), c.capsLock);
}

const CapsCase kCapsCases[] = {
    {"UnknownBeforeAnyLetter", {{Qt::Key_5, kNone, "5"}, {Qt::Key_Left, kNone, ""}}, std::nullopt},
    {"CapitalWithoutShiftMeansOn", {{Qt::Key_A, kNone, "A"}}, true},
    {"SmallLetterWithShiftMeansOn", {{Qt::Key_A, kShift, "a"}}, true},
    {"SmallLetterWithoutShiftMeansOff", {{Qt::Key_A, kShift, "A"}, {Qt::Key_B, kNone, "b"}}, false},
    {"CapsLockKeyFlipsWhatWasLearnt", {{Qt::Key_A, kNone, "a"}, {Qt::Key_CapsLock, kNone, ""}}, true},
    {"CapsLockKeyAloneTellsNothing", {{Qt::Key_CapsLock, kNone, ""}}, std::nullopt},
    {"DigitsKeepWhatWasLearnt", {{Qt::Key_A, kNone, "A"}, {Qt::Key_1, kNone, "1"}}, true},
    {"CtrlLetterKeepsWhatWasLearnt", {{Qt::Key_A, kNone, "A"}, {Qt::Key_S, kCtrl, "s"}}, true},
};

INSTANTIATE_TEST_SUITE_P(Keys, CapsLockLearnt, ::testing::ValuesIn(kCapsCases),
                         [](const ::testing::TestParamInfo<CapsCase>& info) { return info.param.name; });

// ---- GetKeyState while a key event is handled ----------------------------------------------

class KeyEventState : public ::testing::Test {
 protected:
  void SetUp() override {
    WidgetTestApp();
    previous_ = SetKeyStatePort(&installed_);
  }
  void TearDown() override { SetKeyStatePort(previous_); }
  FakeKeyState installed_;
  KeyStatePort* previous_ = nullptr;
};

TEST_F(KeyEventState, ReportsTheEventsModifiersAndKeyThenRestoresThePort) {
  installed_.Press(VK_CONTROL);  // held before, but not with this event
  installed_.Press(VK_F9);
  {
    const KQtKeyEventState state(Qt::ShiftModifier, 'Q', std::nullopt);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    EXPECT_GE(GetKeyState(VK_MENU), 0);
    EXPECT_LT(GetKeyState('Q'), 0);
    EXPECT_LT(GetKeyState(VK_F9), 0) << "other keys come from the port installed before";
  }
  EXPECT_EQ(&CurrentKeyState(), &installed_);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
}

TEST_F(KeyEventState, ModifierKeyItselfIsDownWhenItsEventLacksTheModifier) {
  const KQtKeyEventState state(Qt::NoModifier, VK_SHIFT, std::nullopt);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(KeyEventState, CapsLockLearntOverridesThePortAndUnknownLeavesIt) {
  installed_.SetToggled(VK_CAPITAL, true);
  {
    const KQtKeyEventState state(Qt::NoModifier, 'A', false);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
  }
  {
    const KQtKeyEventState state(Qt::NoModifier, 'A', std::nullopt);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  }
}

}  // namespace
