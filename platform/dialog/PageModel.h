// The controls of a page as a model with the Win32 controls' behaviour
// (selection, slider ranges and clamping, check states, enabling), built
// from the page's dialog template. A host draws them from the model and
// hears of every change the page's code makes; the open-file dialog is the
// host's.
#pragma once

#include "platform/DialogHost.h"
#include "platform/dialog/DialogTemplate.h"

#include <map>
#include <string>
#include <vector>

struct ControlState {
    DialogControlKind kind = DialogControlKind::Other;
    std::string strText;
    bool bEnabled = true;
    std::vector<std::string> entries;
    int nSelection = -1;
    int nMin = 0;
    int nMax = 100;
    int nPos = 0;
    int nTicFreq = 1;
    int nPageSize = 20;
    int nLineSize = 1;
    int nCheck = 0;
};

class PageModel : public PageControls {
public:
    explicit PageModel(const DialogTemplate& dialog);

    void ResetContent(int id) override;
    int AddString(int id, const std::string& text) override;
    int DeleteString(int id, int index) override;
    int SetCurSel(int id, int index) override;
    int GetCurSel(int id) const override;
    void SetRange(int id, int minimum, int maximum, bool redraw) override;
    void SetTicFreq(int id, int frequency) override;
    void SetPageSize(int id, int size) override;
    void SetLineSize(int id, int size) override;
    void SetPos(int id, int position, bool redraw) override;
    int GetPos(int id) const override;
    void SetCheck(int id, int state) override;
    int GetCheck(int id) const override;
    void SetText(int id, const std::string& text) override;
    void EnableControl(int id, bool enable) override;

    // The control with this id, or null.
    const ControlState* Find(int id) const;
    // Ids that the page's code used although the template has no such
    // control, or a control of another kind.
    const std::vector<int>& Misuses() const { return m_misuses; }
    // True when the control with this id has that kind and is enabled.
    bool IsUsable(int id, DialogControlKind kind) const { return const_cast<PageModel*>(this)->Usable(id, kind) != nullptr; }
    // The user's actions, on a control that has the kind and is enabled;
    // false when the user could not do them. They change the model only:
    // the host tells the sheet's logic. A click toggles a check box; a push
    // button is only clicked.
    bool ClickByUser(int id);
    bool PickByUser(int id, int index);
    // Moves the slider to `position`, clamped to its range.
    bool SlideByUser(int id, int position);

protected:
    // The page's code changed the control (its host redraws it).
    virtual void Changed(int id, const ControlState& control) { static_cast<void>(id), static_cast<void>(control); }

private:
    // The control with this id when it has that kind and is enabled.
    ControlState* Usable(int id, DialogControlKind kind);
    ControlState* Use(int id, DialogControlKind kind);
    const ControlState* Use(int id, DialogControlKind kind) const;

    std::map<int, ControlState> m_controls;
    mutable std::vector<int> m_misuses;
};
