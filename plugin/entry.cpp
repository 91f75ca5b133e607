// The DLL's exported entry: hands the player the plug-in's descriptor.
#include "lifecycle.h"

extern "C" __declspec(dllexport) PluginDescriptor* __cdecl winampGetGeneralPurposePlugin(void) {
  return pluginDescriptor();
}
