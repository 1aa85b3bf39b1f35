#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmor::components {

// What the column kinds need of the window layer. The kinds keep the logic of their cell controls (which row
// a control shows, what choosing an entry stores, the contract checks); the window layer makes the real
// drop-down lists and push buttons, places them over their cells and shows them.

// One control over a cell. Tag is the data row it shows (-1 for none). A new control starts hidden.
class TCellControl {
  public:
    virtual ~TCellControl() = default;
    virtual void Hide() = 0;
    virtual void BringToFront() = 0;
    int Tag = -1;
};

// A drop-down-only list of the items of an item column. Item index -1 shows no entry.
class TComboControl : public TCellControl {
  public:
    virtual void SetItemIndex(int AIndex) = 0;
};

// A push button of a table column.
class TButtonControl : public TCellControl {
  public:
    virtual void SetCaption(const std::string& ACaption) = 0;
};

// The window that holds the cell controls while a table's editor is open.
class TCellControlHost {
  public:
    virtual ~TCellControlHost() = default;
    // A drop-down list holding a copy of AItems, ADropDownCount entries tall when dropped down. The list
    // calls AOnChoose with the chosen entry's index when the user chooses one, and AOnFocus when it gets
    // the focus.
    virtual std::unique_ptr<TComboControl> CreateCombo(const std::vector<std::string>& AItems, int ADropDownCount,
                                                       std::function<void(int)> AOnChoose,
                                                       std::function<void()> AOnFocus) = 0;
    // A push button that calls AOnClick when clicked.
    virtual std::unique_ptr<TButtonControl> CreateButton(std::function<void()> AOnClick) = 0;
};

// The editor window of a table, as the table sees it. The window layer implements it; the table holds it
// as its EditorForm between the window's opening and its release.
class TTableEditor {
  public:
    virtual ~TTableEditor() = default;
    // The table is being destroyed before the window: the window forgets it (and should close).
    virtual void TableDestroyed() = 0;
    // Release as closing releases (DetachEditor, hooks and EditorForm cleared) and destroy the window.
    virtual void Release() = 0;
    // New window title (Caption, a blank and the caption numbers).
    virtual void SetTitle(const std::string& ATitle) = 0;
    // Select the grid cell at grid column AGridCol and grid row AGridRow (fixed rows and column included).
    virtual void SelectCell(int AGridCol, int AGridRow) = 0;
    // True when the window is shown modally.
    virtual bool IsShownModally() const = 0;
    // The data rows the window shows: the first one and their count.
    virtual void ShownRows(int& ATopRow, int& ACount) const = 0;
    // The table's help picture was replaced.
    virtual void HelpPictureChanged() = 0;
};

// Text measuring for column widths (the window layer measures with the editor's font).
class TTextMeasure {
  public:
    virtual ~TTextMeasure() = default;
    virtual int TextWidth(const std::string& AText) const = 0;
    virtual int PixelsPerInch() const = 0;
};

}  // namespace velmor::components
