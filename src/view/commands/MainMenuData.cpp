// The menu bar: File, Edit, View, Insert, Actions, Options, Toolboxes,
// Window, Help. Actions is the fifth popup and its last item is the MIDI
// submenu, which ends with the device submenus the shell fills.

#include <initializer_list>

#include "view/commands/CommandTableData.h"

namespace command_data {
namespace {

KMenuNode Item(UINT id) {
  KMenuNode node;
  node.id = id;
  return node;
}

// A command shown here under another text than its table text.
KMenuNode Item(UINT id, const char* text) {
  KMenuNode node;
  node.id = id;
  node.text = text;
  return node;
}

KMenuNode Separator() { return KMenuNode(); }

KMenuNode Popup(const char* text, std::initializer_list<KMenuNode> children) {
  KMenuNode node;
  node.text = text;
  node.children.assign(children.begin(), children.end());
  return node;
}

// Items first..last, one per id.
void AppendRange(KMenuNode& popup, UINT first, UINT last) {
  for (UINT id = first; id <= last; ++id) popup.children.push_back(Item(id));
}

KMenuNode FileMenu() {
  KMenuNode file =
      Popup("&File", {
                         Item(40960),
                         Item(40961),
                         Item(57601),
                         Item(57602),
                         Item(57603),
                         Item(57604),
                         Separator(),
                         Popup("&Import...", {Item(40977), Item(40976),
                                              Popup("MIDI File Import Me&thod", {Item(40968), Item(40969)})}),
                         Popup("&Export...", {Item(40998), Item(40999), Item(41259), Item(40993)}),
                         Separator(),
                         Item(40962),
                         Item(40964),
                         Separator(),
                         Item(40963),
                         Item(57607),
                         Item(57609),
                         Item(57606),
                         Separator(),
                     });
  AppendRange(file, kFirstRecentFileId, kFirstRecentFileId + kRecentFileCount - 1);
  file.children.push_back(Separator());
  file.children.push_back(Item(57665));
  return file;
}

KMenuNode EditMenu() {
  return Popup("&Edit",
               {
                   Item(57643), Item(41008), Item(41014), Separator(), Item(57635), Item(57634), Item(57637),
                   Item(41012), Item(41010), Item(57632), Item(41011), Separator(), Item(41013), Separator(),
                   Item(41009), Item(31463), Separator(), Item(57856), Item(57857), Item(57872),
               });
}

KMenuNode ViewMenu() {
  return Popup(
      "&View",
      {
          Item(59392),
          Item(41205),
          Item(59393),
          Item(41206),
          Separator(),
          Popup("Line &Types To Show...",
                {Item(41119), Separator(), Item(41120), Item(41124), Item(41125),
                 Popup("&Other Staff Lines", {Item(41126), Item(41127), Item(41128), Item(41129), Item(41130),
                                              Item(41131), Item(41132)}),
                 Separator(), Item(41121), Item(41122), Item(41123), Separator(), Item(41135), Item(41134),
                 Item(41133), Separator(), Item(41158)}),
          Item(41160),
          Popup("L&ine Labels", {Item(41183), Item(41182)}),
          Separator(),
          Item(41161),
          Popup("Change Si&ze of All Text", {Item(41154), Item(41155), Item(41156)}),
          Item(41157),
          Item(41163),
          Item(41166),
          Popup("&Bar Numbering", {Item(41162), Item(31468)}),
          Popup("Line &Appearance", {Item(41165), Item(41164)}),
          Popup("A&d-Tab", {Item(41168), Item(41169), Item(41170), Item(41171), Separator(), Item(31462)}),
          Separator(),
          Item(41202),
          Item(41203),
          Separator(),
          Item(41179),
      });
}

KMenuNode PreviousObjectMenu() {
  KMenuNode notes = Popup("nth Prev. Note/Chord\tCtrl+n", {});
  AppendRange(notes, 41441, 41450);
  KMenuNode clusters = Popup("nth Prev Note Cluster\tCtrl+Shift+n", {});
  AppendRange(clusters, 41451, 41460);
  KMenuNode bars = Popup("nth Previous Bar\tAlt+n", {});
  AppendRange(bars, 41461, 41470);
  return Popup("Pre&vious Object...", {notes, clusters, bars});
}

KMenuNode InsertMenu() {
  KMenuNode extended = Popup("E&xtended Object", {});
  AppendRange(extended, 41088, 41095);
  return Popup("&Insert", {
                              Item(41040),
                              Item(41041),
                              Item(41042),
                              Item(41050),
                              Popup("&Other Staff Lines", {Item(41043), Item(41044), Item(41045), Item(41046),
                                                           Item(41047), Item(41048), Item(41049)}),
                              Item(41051),
                              Item(41052),
                              Item(41053),
                              Item(41054),
                              Item(41098),
                              Separator(),
                              Item(41075),
                              Separator(),
                              Item(41072),
                              Item(41073),
                              Item(41074),
                              extended,
                              PreviousObjectMenu(),
                              Separator(),
                              Item(41336),
                          });
}

KMenuNode ActionsMenu() {
  KMenuNode translate = Popup("Translate &Current or Selected Line(s)...", {});
  AppendRange(translate, 41220, 41230);
  translate.children.push_back(Separator());
  translate.children.push_back(Item(41236));
  translate.children.push_back(Item(41242));
  translate.children.push_back(Separator());
  translate.children.push_back(Item(41231));
  return Popup("&Actions",
               {
                   Item(41216),
                   Item(41217),
                   Item(41218),
                   Item(41251),
                   translate,
                   Separator(),
                   Item(41248),
                   Item(41249),
                   Item(41250),
                   Popup("&Evenly Space Notation", {Item(31469), Item(31472)}),
                   Separator(),
                   Popup("&Scrolling", {Item(41290), Item(41292), Item(41291), Item(41293)}),
                   Popup("&MIDI", {Item(41258), Item(41262), Item(41261), Item(41260), Separator(),
                                   Popup(kMidiOutputMenuText, {}), Popup(kMidiInputMenuText, {})}),
               });
}

KMenuNode OptionsMenu() {
  KMenuNode styles = Popup("&Note Style", {});
  AppendRange(styles, 41328, 41335);
  KMenuNode autoJoin = Popup("Auto-Join Note C&lusters", {Item(41308), Separator()});
  AppendRange(autoJoin, 41309, 41314);
  return Popup("&Options", {
                               styles,
                               Item(41302),
                               Item(41303),
                               Item(41248, "&Join Note Tails While Entering"),
                               Separator(),
                               Item(41296),
                               Item(41297),
                               Item(41300),
                               Item(41301),
                               Separator(),
                               Item(41304),
                               Item(41315),
                               autoJoin,
                               Popup("Auto &Stem Direction", {Item(41307), Item(41305), Item(41306)}),
                           });
}

KMenuNode ToolboxesMenu() {
  return Popup("&Toolboxes",
               {
                   Item(41184), Separator(), Item(41185), Item(41186), Item(41187), Item(41189), Item(41190),
                   Item(41192), Item(41194), Item(41195), Item(41196), Item(41197), Item(41198), Item(41199),
                   Item(41200), Item(41201), Item(41204), Separator(), Item(41202), Item(41203),
               });
}

KMenuNode WindowMenu() {
  return Popup("&Window", {Item(57648), Item(57650), Item(57651), Item(57649), Item(57653)});
}

KMenuNode HelpMenu() {
  return Popup("&Help", {
                            Item(41508),
                            Item(57667),
                            Separator(),
                            Item(41504),
                            Item(41505),
                            Item(41506),
                            Item(41507),
                            Separator(),
                            Item(31440),
                            Item(57664),
                        });
}

}  // namespace

std::vector<KMenuNode> BuildMainMenu() {
  return {FileMenu(),    EditMenu(),      ViewMenu(),   InsertMenu(), ActionsMenu(),
          OptionsMenu(), ToolboxesMenu(), WindowMenu(), HelpMenu()};
}

}  // namespace command_data
