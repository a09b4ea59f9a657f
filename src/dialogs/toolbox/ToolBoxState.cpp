#include "dialogs/toolbox/ToolBoxState.h"

int g_toolboxSymbol = -1;
int g_offerLineInsertion = 1;

void ResetToolBoxGlobals() {
  g_toolboxSymbol = -1;
  g_offerLineInsertion = 1;
}
