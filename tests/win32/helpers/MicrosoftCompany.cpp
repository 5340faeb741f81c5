// A program file whose version resource names "Microsoft Corporation": the
// scans must never report it, wherever it lies and whatever it is called.
// Started, it waits half a minute, so that a scan meets it running.
#include <windows.h>

int wmain() {
    Sleep(30000);
    return 0;
}
