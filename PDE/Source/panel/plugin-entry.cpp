// The plug-in library's one exported symbol.

#include <new>

#include "pde-plugin.hpp"

extern "C" __attribute__((visibility("default"))) t48::pde::PDEPlugInProtocol*
T48ColorPDECreatePlugIn() {
    return new (std::nothrow) t48::pde::PDEPlugIn();
}
