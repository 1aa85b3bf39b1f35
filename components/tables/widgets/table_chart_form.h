#pragma once

#include <QLineEdit>
#include <string>
#include <vector>

#include "tables/grid_table_chart.h"
#include "tables/widgets/chart_view.h"
#include "tables/widgets/table_form.h"

namespace velmor::components {

// The editor of a chart table: the grid editor with the chart (or the paint box) above the grid, "OK" and
// "Cancel" when the table asks for them, and the file and clipboard controls that read points into the
// table or open the file in the text editor.
class TTableChartForm : public BasicTableForm<ChartFamily> {
  public:
    explicit TTableChartForm(TGridTableChart& ATable);

    ChartView* chart() const { return chart_; }
    PaintBoxView* paintBox() const { return paintBox_; }
    QPushButton* okButton() const { return btnOK_; }
    QPushButton* cancelButton() const { return btnCancel_; }
    QLineEdit* fileNameBox() const { return edtFile_; }
    QPushButton* browseButton() const { return btnBrowse_; }
    QPushButton* viewButton() const { return btnView_; }
    QPushButton* readButton() const { return btnRead_; }
    QPushButton* pasteButton() const { return btnPaste_; }
    // True after "OK" closed the window.
    bool accepted() const { return accepted_; }

    // Draws the chart or the paint box from the table.
    void RedrawGraph();
    // The commands of the file and clipboard controls.
    void browse();
    void viewFile();
    void readFile();
    void pasteClipboard();

  protected:
    int maxShownRows() const override;
    int heightAbove() const override;
    void placeAbove(int left, int top, int clientWidth) override;
    int yieldAbove(int excess) override;
    int placeBelowButtons(int left, int top) override;
    int heightBelowButtons() const override;
    int widthBelowButtons() const override;
    void afterRefresh() override;
    void afterRowCommand() override;
    void beforeCellSelect() override;
    void gridKeyPressed(QKeyEvent* event) override;
    void gridKeyReleased(QKeyEvent* event) override;
    void windowClicked() override;
    void cellUpdated() override;

  private:
    bool chartShown() const;
    bool paintBoxShown() const;
    bool graphShown() const { return chartShown() || paintBoxShown(); }
    void updateFileButtons();
    void import(const std::vector<std::string>& lines);
    int buttonHeight() const;
    int fileLineWidth() const;

    ChartView* chart_;
    PaintBoxView* paintBox_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    QLabel* lblFile_;
    QLineEdit* edtFile_;
    QPushButton* btnBrowse_;
    QPushButton* btnView_;
    QPushButton* btnRead_;
    QPushButton* btnPaste_;
    bool accepted_ = false;
    int graphHeight_ = 0;  // pixels
};

// Makes TTableChartForm the editor of a chart space's tables (see installTableEditors).
void installChartTableEditors(TTableSpaceChart& space, QMdiArea* area = nullptr);

}  // namespace velmor::components
