#pragma once

#include "tables/column_kinds.h"

namespace velmor::test {

// Every row of a table filled with distinct values: items cycle, integers count up, reals are odd
// fractions that need all eight digits. Sub-tables are left as their rows made them.
template <class F>
void fillAll(components::BasicGridTable<F>& T, int Rows) {
    T.SetRowCount(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < T.ColumnCount(); ++c) {
            auto* column = T.Columns(c);
            if (auto* items = dynamic_cast<components::BasicEnumColumn<F>*>(column))
                T.Cell(c, r).SetInteger(1 + r % static_cast<int>(items->Items().size()));
            else if (dynamic_cast<components::BasicIntColumn<F>*>(column))
                T.Cell(c, r).SetInteger(r + c);
            else if (dynamic_cast<components::BasicFloatColumn<F>*>(column))
                T.Cell(c, r).SetFloat((r + 1) * 1.2345678L / (c + 3));
        }
}

}  // namespace velmor::test
