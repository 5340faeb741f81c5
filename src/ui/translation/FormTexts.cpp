#include "ui/translation/FormTexts.h"

#include "common/Text.h"
#include "ui/forms/Controls.h"
#include "ui/forms/ListView.h"

namespace bastion::ui {

namespace {

template <typename T>
void AddCaption(std::vector<FormText>& texts, std::string key, T& control) {
    texts.push_back({std::move(key), control.Caption(), [&control](std::string text) {
                         control.SetCaption(std::move(text));
                     }});
}

int ArrayIndex(const Control& control) { return control.InArray() ? control.Index() : 0; }

void AddControlTexts(std::vector<FormText>& texts, const std::string& prefix, Control& control) {
    const std::string key = prefix + control.Name();
    if (auto* label = dynamic_cast<Label*>(&control)) {
        AddCaption(texts, key, *label);
    } else if (auto* button = dynamic_cast<CommandButton*>(&control)) {
        AddCaption(texts, key, *button);
    } else if (auto* frame = dynamic_cast<Frame*>(&control)) {
        AddCaption(texts, key, *frame);
    } else if (auto* box = dynamic_cast<CheckBox*>(&control)) {
        AddCaption(texts, key, *box);
    } else if (auto* option = dynamic_cast<OptionButton*>(&control)) {
        AddCaption(texts, key + ToDecimal(ArrayIndex(*option)), *option);
    } else if (auto* menu = dynamic_cast<MenuItem*>(&control)) {
        if (!menu->IsSeparator()) AddCaption(texts, key + ToDecimal(ArrayIndex(*menu)), *menu);
    } else if (auto* tabs = dynamic_cast<TabStrip*>(&control)) {
        for (std::size_t i = 0; i < tabs->Tabs().size(); ++i) {
            texts.push_back({key + "_TABS" + ToDecimal(static_cast<long long>(i) + 1), tabs->Tabs()[i],
                             [tabs, i](std::string text) { tabs->SetTabCaption(i, std::move(text)); }});
        }
    } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
        for (std::size_t i = 0; i < combo->Items().size(); ++i) {
            texts.push_back({key + "_ITEM" + ToDecimal(static_cast<long long>(i) + 1), combo->Items()[i],
                             [combo, i](std::string text) { combo->SetItemText(i, std::move(text)); }});
        }
    } else if (auto* list = dynamic_cast<ListView*>(&control)) {
        for (std::size_t i = 0; i < list->Columns().size(); ++i) {
            texts.push_back({key + "_COL" + ToDecimal(static_cast<long long>(i) + 1), list->Columns()[i].text,
                             [list, i](std::string text) { list->SetColumnText(i, std::move(text)); }});
        }
    }
}

}  // namespace

std::vector<FormText> TranslatableTexts(Form& form) {
    std::vector<FormText> texts;
    const std::string prefix = form.Name() + "_";
    for (Control* control : form.Controls()) {
        if (!control->ShowsLiveState()) AddControlTexts(texts, prefix, *control);
    }
    texts.push_back({prefix + "CAPTION", form.Caption(), [&form](std::string text) { form.SetCaption(std::move(text)); }});
    std::erase_if(texts, [](const FormText& text) { return text.text.empty(); });
    return texts;
}

}  // namespace bastion::ui
