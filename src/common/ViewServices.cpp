#include "common/ViewServices.h"

namespace {
constexpr int kScreenDpi = 96;
// The printer resolution assumed when none is known, at print size 100%.
constexpr int kDeviceDpi = 360;
constexpr int kFullSize = 100;
constexpr int kBlankRun = 8;
constexpr int kLineGap = 4;  // the default vertical line spacing
}  // namespace

int g_screenResX = kScreenDpi;
int g_screenResY = kScreenDpi;
int g_deviceResX = kDeviceDpi;
int g_deviceResY = kDeviceDpi;
int g_deviceDpiX = kDeviceDpi;
int g_printSizePct = kFullSize;
int g_deviceRender = 0;
CDC* g_layoutDC = nullptr;
CPrintInfo* g_printInfo = nullptr;
int g_colourMode = 0;
int g_bulkEntry = 0;
int g_blankRunCount = kBlankRun;
int g_beamDefault = 0;
int g_alignOptions[3] = {0, 0, 0};
int g_relayout = 0;
int g_lineGap = kLineGap;

void ResetViewServices() {
  g_screenResX = kScreenDpi;
  g_screenResY = kScreenDpi;
  g_deviceResX = kDeviceDpi;
  g_deviceResY = kDeviceDpi;
  g_deviceDpiX = kDeviceDpi;
  g_printSizePct = kFullSize;
  g_deviceRender = 0;
  g_layoutDC = nullptr;
  g_printInfo = nullptr;
  g_colourMode = 0;
  g_bulkEntry = 0;
  g_blankRunCount = kBlankRun;
  g_beamDefault = 0;
  for (int& option : g_alignOptions) option = 0;
  g_relayout = 0;
  g_lineGap = kLineGap;
}
