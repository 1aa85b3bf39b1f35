#pragma once

#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <string>
#include <vector>

#include "tables/cell_controls.h"

namespace velmor::components {

// The Qt controls that the item and table columns lay over their cells. The columns own these objects
// (and through them the widgets); the window places and shows the widgets. A widget is deleted later, not
// at once, because a column may drop its controls while one of them is still handling the user's click.
class ComboCell : public TComboControl {
  public:
    ComboCell(QWidget* parent, const std::vector<std::string>& items, int dropDownCount,
              std::function<void(int)> onChoose, std::function<void()> onFocus);
    ~ComboCell() override;
    void Hide() override;
    void BringToFront() override;
    void SetItemIndex(int AIndex) override;
    QComboBox* widget() const { return combo_; }

  private:
    QPointer<QComboBox> combo_;
};

class ButtonCell : public TButtonControl {
  public:
    ButtonCell(QWidget* parent, std::function<void()> onClick);
    ~ButtonCell() override;
    void Hide() override;
    void BringToFront() override;
    void SetCaption(const std::string& ACaption) override;
    QPushButton* widget() const { return button_; }

  private:
    QPointer<QPushButton> button_;
};

// The widget of a cell control made by one of the classes above.
QWidget* cellWidget(TCellControl* control);

}  // namespace velmor::components
