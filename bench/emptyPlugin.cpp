// A plug-in that does nothing: the baseline for what LumoMarker adds to the player's start-up.
#include "../host/hostContract.h"

namespace {

int __cdecl emptyInit(void) { return 0; }
void __cdecl emptyConfig(void) {}
void __cdecl emptyQuit(void) {}

PluginDescriptor gEmpty = {PLUGIN_DESCRIPTOR_VERSION, "Empty", emptyInit, emptyConfig, emptyQuit,
                           nullptr, nullptr};

}  // namespace

extern "C" __declspec(dllexport) PluginDescriptor* __cdecl winampGetGeneralPurposePlugin(void) {
  return &gEmpty;
}
