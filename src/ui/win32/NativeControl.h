// A native child control bound to one control model: it is created from
// the model, pushes the model to the native control when the model's change
// counter moved since the last push, and turns the user's actions into the
// model's own calls (Click, SetValue, Select, ItemCheck, ...), which run the
// handlers that the owning component attached.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/WindowsApi.h"
#include "ui/forms/Control.h"
#include "ui/layout/Geometry.h"
#include "ui/win32/UiFonts.h"

#include <commctrl.h>

namespace bastion::win32 {

// What a control needs of the window it lives in.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual const UiFonts& Fonts() const = 0;
    virtual int Dpi() const = 0;
    // A solid brush of that colour, kept by the host.
    virtual HBRUSH Brush(COLORREF colour) = 0;
};

class NativeControl {
public:
    explicit NativeControl(ui::Control& model) : model_(&model) {}
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;
    virtual ~NativeControl() = default;

    ui::Control& Model() const { return *model_; }
    HWND Hwnd() const { return hwnd_; }
    int Id() const { return id_; }

    // Creates the native control as a child of parent, painted on the
    // given background, and pushes the model into it.
    bool Create(ControlHost& host, HWND parent, int id, COLORREF background);

    // Pushes the model when it changed since the last push, or always.
    void SyncIfChanged(bool force = false);

    void SetBounds(const ui::Rect& bounds);
    // The fonts were made anew (another dpi): take them.
    virtual void ApplyFonts();

    // Reads back what the user changed on the native control without a
    // notification that tells (the width of a list column), before the
    // models are pushed.
    virtual void ReadBack() {}

    // The user's actions, from the notifications of the parent.
    virtual void OnCommand(WORD code) {}
    virtual bool OnNotify(const NMHDR& header, LRESULT& result) { return false; }
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& item) { return false; }
    // Colours of a static-like control; the brush paints its background.
    virtual HBRUSH OnColor(HDC dc);

protected:
    // The native window of the control, created by Create.
    virtual HWND CreateNative(HWND parent, int id) = 0;
    // Pushes every part of the model into the native control.
    virtual void Sync() = 0;
    // What makes a push due: the model's counter, and for some controls
    // the counters of models they depend on.
    virtual std::uint64_t Stamp() const { return model_->ChangeCount(); }
    virtual FontRole Font() const { return FontRole::Normal; }

    HWND MakeChild(HWND parent, int id, const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // Visible and enabled as the model says.
    void SyncState();
    void SetText(const std::string& text);

    ControlHost& Host() const { return *host_; }
    COLORREF Background() const { return background_; }

private:
    ui::Control* model_;
    ControlHost* host_ = nullptr;
    HWND hwnd_ = nullptr;
    int id_ = 0;
    COLORREF background_ = RGB(255, 255, 255);
    std::uint64_t synced_ = 0;
    bool everSynced_ = false;
};

}  // namespace bastion::win32
