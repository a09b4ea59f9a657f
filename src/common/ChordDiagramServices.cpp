#include "common/ChordDiagramServices.h"

int g_diagramOptionA = 0;
int g_diagramOptionB = 0;

void ResetChordDiagramServices() {
  g_diagramOptionA = 0;
  g_diagramOptionB = 0;
}
