// One page of the GTK sheet: the controls of its dialog template placed on
// a GtkFixed at the template's positions, converted from dialog units, and
// the page-controls seam over them with the Win32 controls' behaviour.
// The class is split by what it does: GtkDialogPage.cpp lays the page out
// and keeps its tab order, GtkPageControls.cpp answers the seam's calls and
// GtkPageNotices.cpp tells the sheet's handler what the user did.
#pragma once

#include "platform/DialogHost.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/gtk/GtkDialogUnits.h"
#include "platform/gtk/GtkPageSite.h"

#include <gtk/gtk.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// A control's text with its access key marked the way GTK marks mnemonics.
inline std::string MnemonicText(const std::string& text) { return ConvertAccessKeys(text, '_'); }

class GtkDialogPage : public PageControls {
public:
    GtkDialogPage(GtkPageSite& sheet, int pageIndex, const DialogTemplate& dialog, const DialogBaseUnits& units);
    ~GtkDialogPage() override;
    GtkDialogPage(const GtkDialogPage&) = delete;
    GtkDialogPage& operator=(const GtkDialogPage&) = delete;

    // The page's container; its parent owns it.
    GtkWidget* Widget() const { return m_pFixed; }
    void FocusFirstTabStop();
    // Stops every notification, before the widgets go.
    void Detach();

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
    bool ChooseFileToOpen(const OpenFileRequest& request, std::string& path) override;

private:
    struct Control {
        GtkDialogPage* page = nullptr;
        int id = 0;
        DialogControlKind kind = DialogControlKind::Other;
        GtkWidget* widget = nullptr;
        bool bNoPrefix = false;
        bool bAutoTicks = false;
        int nTicFreq = 1;
        std::vector<gulong> handlers;
    };

    // Blocks a control's notifications while the program changes it.
    class Quiet {
    public:
        explicit Quiet(const Control& control);
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        const Control& m_control;
    };

    GtkWidget* CreateWidget(const DialogItemTemplate& item, Control& control);
    void Connect(Control& control);
    Control* Find(int id, DialogControlKind kind) const;
    void UpdateTicks(const Control& slider);
    gboolean MoveFocus(GtkDirectionType direction);

    static void OnClicked(GtkWidget* widget, gpointer data);
    static void OnSelectionChanged(GtkWidget* widget, gpointer data);
    static void OnValueChanged(GtkWidget* widget, gpointer data);
    static gboolean OnSliderReleased(GtkWidget* widget, GdkEvent* event, gpointer data);
    static gboolean OnSliderKeyReleased(GtkWidget* widget, GdkEventKey* event, gpointer data);
    static gboolean OnFocus(GtkWidget* widget, GtkDirectionType direction, gpointer data);

    GtkPageSite& m_sheet;
    int m_nPage;
    GtkWidget* m_pFixed;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::map<int, Control*> m_byId;
    std::vector<GtkWidget*> m_tabStops;
};
