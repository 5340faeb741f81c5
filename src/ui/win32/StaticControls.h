// Native controls that show a model rather than take input: labels, group
// boxes (frames inside a page), and pages (frames that contain controls of
// their own and show while their model is visible).
#pragma once

#include <memory>

#include "ui/forms/Controls.h"
#include "ui/win32/HoverTracker.h"
#include "ui/win32/NativeControl.h"
#include "ui/win32/Panel.h"

namespace bastion::win32 {

enum class LabelLook {
    Text,       // plain text
    Secondary,  // grey: the caption beside a value
    Value,      // semibold: a number or date the page reports
    Counter,    // large: a counter of the scan page
    Link,       // link colour, hand pointer: a label that opens something
    HeaderMark, // white on the header band; italic under the pointer
    MenuLink,   // link colour, hand pointer, semibold under the pointer: a menu entry
};

struct LabelOptions {
    LabelLook look = LabelLook::Text;
    bool wrap = false;        // several lines; else one line cut with "..."
    bool alignRight = false;
};

class LabelControl : public NativeControl {
public:
    LabelControl(ui::Label& model, LabelOptions options) : NativeControl(model), model_(model), options_(options) {}
    void OnCommand(WORD code) override;
    HBRUSH OnColor(HDC dc) override;
    void ApplyFonts() override;
    // The height the caption needs when wrapped to that width, in the
    // label's font (one line for an empty caption).
    int WrappedHeight(int width) const;

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;
    FontRole Font() const override;

private:
    ui::Label& model_;
    LabelOptions options_;
    HoverTracker hover_;
};

// A frame inside a page, drawn as a group box around its controls (which
// are its siblings: the box lies beneath them).
class GroupBoxControl : public NativeControl {
public:
    explicit GroupBoxControl(ui::Frame& model) : NativeControl(model), model_(model) {}
    // Beneath its siblings; called when they all exist (a new child
    // window goes beneath the older ones).
    void SendToBack();

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    ui::Frame& model_;
};

// A frame that contains controls: a page of the main window or the frame
// of a tab. Its caption shows as the page title when asked to.
class PageControl : public NativeControl {
public:
    PageControl(ui::Frame& model, ChildMessageSink& sink, COLORREF colour, bool showTitle)
        : NativeControl(model), model_(model), sink_(sink), colour_(colour), showTitle_(showTitle) {}
    void ApplyFonts() override;
    Panel& Container() { return panel_; }

protected:
    HWND CreateNative(HWND parent, int id) override;
    void Sync() override;

private:
    void UpdateTitle();

    ui::Frame& model_;
    ChildMessageSink& sink_;
    COLORREF colour_;
    bool showTitle_;
    Panel panel_;
};

}  // namespace bastion::win32
