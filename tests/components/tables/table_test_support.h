#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tables/grid_table_chart.h"

namespace velmor::components::testing {

// Column builders for tests: each appends a column of the kind to the table and returns it.
template <class Table>
using FamilyOf = std::conditional_t<std::is_same_v<Table, TGridTable>, PlainFamily, ChartFamily>;

template <class Table>
BasicFloatColumn<FamilyOf<Table>>& addFloat(Table& table, const std::string& header, const std::string& unit = "",
                                            Extended def = 0, bool topDepth = false) {
    using Column = BasicFloatColumn<FamilyOf<Table>>;
    auto column = std::make_unique<Column>(&table);
    column->Header = {header};
    column->UnitString = unit;
    column->Default = def;
    column->TopDepth = topDepth;
    return static_cast<Column&>(table.AddColumn(std::move(column)));
}

inline TIntColumn& addInt(TGridTable& table, const std::string& header, int def = 0, int min = -2147483647 - 1,
                          int max = 2147483647) {
    auto column = std::make_unique<TIntColumn>(&table);
    column->Header = {header};
    column->Default = def;
    column->MinValue = min;
    column->MaxValue = max;
    return static_cast<TIntColumn&>(table.AddColumn(std::move(column)));
}

inline TEnumColumn& addEnum(TGridTable& table, const std::string& header, std::vector<std::string> items) {
    auto column = std::make_unique<TEnumColumn>(&table);
    column->Header = {header};
    auto& added = static_cast<TEnumColumn&>(table.AddColumn(std::move(column)));
    added.SetItems(std::move(items));
    return added;
}

template <class Table>
BasicTableColumn<FamilyOf<Table>>& addTables(Table& table, const std::string& header,
                                             const std::vector<int>& identifiers) {
    using F = FamilyOf<Table>;
    auto column = std::make_unique<BasicTableColumn<F>>(&table);
    column->Header = {header};
    for (int id : identifiers) column->Templates().AddIdentifier(id);
    return static_cast<BasicTableColumn<F>&>(table.AddColumn(std::move(column)));
}

// A control host that records what the columns made.
struct FakeCombo : TComboControl {
    int itemIndex = -2;
    bool hidden = false;
    std::function<void(int)> choose;
    std::function<void()> focus;
    void Hide() override { hidden = true; }
    void BringToFront() override {}
    void SetItemIndex(int AIndex) override { itemIndex = AIndex; }
};

struct FakeButton : TButtonControl {
    std::string caption;
    std::function<void()> click;
    void Hide() override {}
    void BringToFront() override {}
    void SetCaption(const std::string& ACaption) override { caption = ACaption; }
};

struct FakeHost : TCellControlHost {
    std::unique_ptr<TComboControl> CreateCombo(const std::vector<std::string>&, int, std::function<void(int)> AOnChoose,
                                               std::function<void()> AOnFocus) override {
        auto combo = std::make_unique<FakeCombo>();
        combo->choose = std::move(AOnChoose);
        combo->focus = std::move(AOnFocus);
        return combo;
    }
    std::unique_ptr<TButtonControl> CreateButton(std::function<void()> AOnClick) override {
        auto button = std::make_unique<FakeButton>();
        button->click = std::move(AOnClick);
        return button;
    }
};

// An editor window as the table sees it, recording what the table asked of it.
struct FakeEditor : TTableEditor {
    std::string title;
    int selectedCol = -1, selectedRow = -1;
    bool modal = false;
    bool tableGone = false;
    int released = 0;
    int topRow = 0, shownRows = 0;
    void TableDestroyed() override { tableGone = true; }
    void Release() override { ++released; }
    void SetTitle(const std::string& ATitle) override { title = ATitle; }
    void SelectCell(int AGridCol, int AGridRow) override {
        selectedCol = AGridCol;
        selectedRow = AGridRow;
    }
    bool IsShownModally() const override { return modal; }
    void ShownRows(int& ATopRow, int& ACount) const override {
        ATopRow = topRow;
        ACount = shownRows;
    }
    void HelpPictureChanged() override {}
};

}  // namespace velmor::components::testing
