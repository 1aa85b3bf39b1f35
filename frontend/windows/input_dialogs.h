#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "project/program_data.h"

class QCheckBox;
class QMdiArea;
class QPushButton;

namespace velmor::components {
class DataEditWidget;
}

namespace Ui {
class TDlgOptions;
class TDlgProp;
class TdlgCSD;
class TDlgRebar;
class TDlgSpring;
class TDlgConLoads;
class TdlgTitle;
}  // namespace Ui

namespace velmor::windows {

// An input dialog: a child window of the main window that edits scalar project data. It loads the project
// each time it becomes active, stores into it when the user moves to another window, and refuses to be
// left or closed while its focused numeric field holds an entry that does not check (the field has shown
// why). It frees itself when closed.
class TInputDialog : public QWidget {
    Q_OBJECT

  public:
    TInputDialog(project::TProgramData& Data, QWidget* Parent);

    // Loads every control from the project.
    void FormActivate();
    // Whether a control holds an entry that is not stored yet (typed, or chosen in a file dialog).
    virtual bool Edited() const;
    // Where the dialog finds the project: the main window replaces its project on New and Open, and a
    // dialog that refused to close meanwhile must not touch the one that is gone.
    void SetProjectSource(std::function<project::TProgramData&()> Source) { source_ = std::move(Source); }
    // Stores every control into the project, unless the focused numeric field is invalid: then the dialog
    // shows itself again with the entry as typed and stores nothing. False in that case.
    bool FormDeactivate();
    // The window area's activation: loads, unless the dialog brought itself back after a refused
    // deactivation; and its deactivation.
    void Activated();
    void Deactivated();

  protected:
    virtual void Load() = 0;
    virtual void Store() = 0;
    project::TProgramData& data() { return source_(); }
    bool event(QEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    // False when the focused control is a numeric field whose entry does not check.
    bool FocusedFieldValid();
    void SetModified() { data().Hooks().SetModified(true); }
    bool English() { return data().Units == 1; }

    // A numeric field bound to a project value, with the conversions between the stored and the shown
    // value. Loading remembers the text shown; storing writes only fields whose text changed or whose
    // value the field had to pull inside its limits, so an untouched value keeps every digit it had, and
    // marks the project as modified when it wrote anything.
    struct TFieldBinding {
        components::DataEditWidget* Field;
        std::function<components::Extended()> Get;
        std::function<void(components::Extended)> Set;
        std::function<components::Extended(components::Extended)> ToShown, ToStored;
        QString LoadedText;
        bool Clamped = false;
    };
    // How a value is shown in unit system 1; the other systems show it as stored.
    enum class TShownAs { Stored, Feet, PerSquareFoot };
    void Bind(components::DataEditWidget* Field, components::Extended project::TProgramData::*Value,
              TShownAs Shown = TShownAs::Stored);
    // Adds the binding; its field refuses an entry whose stored form the analysis cannot read.
    void Bind(TFieldBinding Binding);
    void LoadFields();
    void StoreFields();
    std::vector<TFieldBinding> fields_;

  private:
    // Set while the dialog brings itself back after a refused deactivation: that activation keeps the
    // entry as typed instead of reloading the project.
    bool keepEntries_ = false;
    bool active_ = false;
    std::function<project::TProgramData&()> source_;
    // The project the controls were loaded from (compared only, never used).
    const project::TProgramData* loadedFrom_ = nullptr;
    QPointer<QWidget> activeControl_;
};

// Control Options: the program used as text editor.
class TDlgOptions : public TInputDialog {
    Q_OBJECT

  public:
    TDlgOptions(project::TProgramData& Data, std::function<QString()> GetEditor,
                std::function<void(const QString&)> SetEditor, QWidget* Parent = nullptr);
    ~TDlgOptions() override;
    void Load() override;
    bool Edited() const override;
    void BtnBrowseClick();
    Ui::TDlgOptions& Form() { return *ui_; }

#ifdef Q_OS_WIN
    static constexpr const char* kBrowserFilter = "Programs|*.exe;*.com|All Files (*.*)|*.*";
#else
    // Programs carry no extension here: the "Programs" entry lists the executable files.
    static constexpr const char* kBrowserFilter = "Programs|<executable>|All Files (*)|*";
#endif

  protected:
    void Store() override;

  private:
    std::unique_ptr<Ui::TDlgOptions> ui_;
    std::function<QString()> getEditor_;
    std::function<void(const QString&)> setEditor_;
};

// Wall Properties: increments, increment length, iteration limits and the free height.
class TDlgProp : public TInputDialog {
    Q_OBJECT

  public:
    explicit TDlgProp(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TDlgProp() override;
    void Load() override;
    Ui::TDlgProp& Form() { return *ui_; }

  protected:
    void Store() override;

  private:
    std::unique_ptr<Ui::TDlgProp> ui_;
};

// Wall Configuration: free height, widths, water tables, pressure factor, backfill slope and surcharge.
class TdlgCSD : public TInputDialog {
    Q_OBJECT

  public:
    explicit TdlgCSD(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TdlgCSD() override;
    void Load() override;
    Ui::TdlgCSD& Form() { return *ui_; }

  protected:
    void Store() override;

  private:
    std::unique_ptr<Ui::TdlgCSD> ui_;
};

// Additional Surcharge: a picture and the button to the surcharge table.
class TDlgRebar : public TInputDialog {
    Q_OBJECT

  public:
    explicit TDlgRebar(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TDlgRebar() override;
    void Load() override {}
    Ui::TDlgRebar& Form() { return *ui_; }

  protected:
    void Store() override {}

  private:
    std::unique_ptr<Ui::TDlgRebar> ui_;
};

// The springs and concentrated-load dialogs: one option switch with the button to its table; switching
// the option off closes the table's editor.
class TOptionTableDialog : public TInputDialog {
    Q_OBJECT

  public:
    void Load() override;
    void CheckClick();

  protected:
    TOptionTableDialog(project::TProgramData& Data, bool project::TProgramData::*Option,
                       components::TGridTable& (project::TProjectTables::*Table)() const, QWidget* Parent);
    // The form's controls, set by the derived dialog once its form is built.
    void Bind(QCheckBox* Check, QPushButton* Button);
    void Store() override;

  private:
    bool project::TProgramData::*option_;
    components::TGridTable& (project::TProjectTables::*table_)() const;
    QCheckBox* check_ = nullptr;
    QPushButton* button_ = nullptr;
};

class TDlgSpring : public TOptionTableDialog {
    Q_OBJECT

  public:
    explicit TDlgSpring(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TDlgSpring() override;
    Ui::TDlgSpring& Form() { return *ui_; }

  private:
    std::unique_ptr<Ui::TDlgSpring> ui_;
};

class TDlgConLoads : public TOptionTableDialog {
    Q_OBJECT

  public:
    explicit TDlgConLoads(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TDlgConLoads() override;
    Ui::TDlgConLoads& Form() { return *ui_; }

  private:
    std::unique_ptr<Ui::TDlgConLoads> ui_;
};

// Project Title: one line of at most 80 characters, shown and stored as the file's Windows-1252 text.
class TdlgTitle : public TInputDialog {
    Q_OBJECT

  public:
    explicit TdlgTitle(project::TProgramData& Data, QWidget* Parent = nullptr);
    ~TdlgTitle() override;
    void Load() override;
    bool Edited() const override;
    Ui::TdlgTitle& Form() { return *ui_; }

  protected:
    void Store() override;

  private:
    // A typed or pasted character that the project file cannot hold is taken back with a message.
    void TitleEdited(const QString& Text);

    std::unique_ptr<Ui::TdlgTitle> ui_;
    // The title as loaded (an unedited title keeps its bytes) and the last text the file can hold.
    QString loadedText_;
    QString acceptedText_;
};

// Shows an input dialog as a child window of `Area` (the dialog becomes the window's widget) and makes it
// the active one.
void ShowChildDialog(QMdiArea* Area, TInputDialog* Dialog);

}  // namespace velmor::windows
