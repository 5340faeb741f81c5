#include "ui/win32/TaskListEntry.h"

#include <shobjidl.h>

#include "platform/win32/Handles.h"

namespace bastion::win32 {

namespace {

struct TaskbarListTraits {
    using Type = ITaskbarList*;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type list) { return list != nullptr; }
    static void Close(Type list) { list->Release(); }
};

}  // namespace

bool ShowInTaskList(HWND window, bool shown) {
    if (!window) return false;
    UniqueResource<TaskbarListTraits> list;
    if (FAILED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList,
                                  reinterpret_cast<void**>(list.Receive()))) ||
        !list.Get() || FAILED(list.Get()->HrInit())) {
        return false;
    }
    return SUCCEEDED(shown ? list.Get()->AddTab(window) : list.Get()->DeleteTab(window));
}

}  // namespace bastion::win32
