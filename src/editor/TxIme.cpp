#include "TxIme.h"

#include "InputMethod.h"

namespace TxIme {

namespace {
int lastRequest = -1;
} // namespace

void SetOpen(bool open) {
    lastRequest = open ? 1 : 0;
    if (open)
        InputMethod::SetConversion(InputMethod::kNativeFullRoman);
    else
        InputMethod::SetOpen(false);
}

bool IsOpen() {
    return InputMethod::IsOpen().value_or(false);
}

int LastRequest() {
    return lastRequest;
}

} // namespace TxIme
