#include "platform/Display.h"

namespace qj {
namespace {
IDisplay* gDisplay = nullptr;
}

IDisplay* DXDraw() { return gDisplay; }
void SetDXDraw(IDisplay* display) { gDisplay = display; }

}  // namespace qj
