#include "tables/widgets/cell_widgets.h"

#include <QEvent>

#include "fields/widgets/guarded.h"

namespace velmor::components {

namespace {

// Reports the focus a control gets.
class FocusWatcher : public QObject {
  public:
    FocusWatcher(QObject* parent, std::function<void()> onFocus) : QObject(parent), onFocus_(std::move(onFocus)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && onFocus_) {
            guarded(qobject_cast<QWidget*>(watched), onFocus_);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> onFocus_;
};

void dispose(QWidget* widget) {
    if (widget == nullptr) return;
    widget->hide();
    widget->deleteLater();
}

}  // namespace

ComboCell::ComboCell(QWidget* parent, const std::vector<std::string>& items, int dropDownCount,
                     std::function<void(int)> onChoose, std::function<void()> onFocus)
    : combo_(new QComboBox(parent)) {
    for (const std::string& item : items) combo_->addItem(QString::fromStdString(item));
    combo_->setMaxVisibleItems(dropDownCount);
    combo_->setFocusPolicy(Qt::StrongFocus);
    combo_->hide();
    combo_->installEventFilter(new FocusWatcher(combo_, std::move(onFocus)));
    QComboBox* combo = combo_;
    QObject::connect(combo_, &QComboBox::activated, combo_,
                     [combo, onChoose = std::move(onChoose)](int index) { guarded(combo, [&] { onChoose(index); }); });
}

ComboCell::~ComboCell() {
    dispose(combo_);
}

void ComboCell::Hide() {
    if (combo_) combo_->hide();
}

void ComboCell::BringToFront() {
    if (combo_) combo_->raise();
}

void ComboCell::SetItemIndex(int AIndex) {
    if (!combo_) return;
    const QSignalBlocker quiet(combo_);
    combo_->setCurrentIndex(AIndex >= 0 && AIndex < combo_->count() ? AIndex : -1);
}

ButtonCell::ButtonCell(QWidget* parent, std::function<void()> onClick) : button_(new QPushButton(parent)) {
    button_->hide();
    button_->setFocusPolicy(Qt::StrongFocus);
    QPushButton* button = button_;
    QObject::connect(button_, &QPushButton::clicked, button_,
                     [button, onClick = std::move(onClick)] { guarded(button, onClick); });
}

ButtonCell::~ButtonCell() {
    dispose(button_);
}

void ButtonCell::Hide() {
    if (button_) button_->hide();
}

void ButtonCell::BringToFront() {
    if (button_) button_->raise();
}

void ButtonCell::SetCaption(const std::string& ACaption) {
    if (button_) button_->setText(QString::fromStdString(ACaption));
}

QWidget* cellWidget(TCellControl* control) {
    if (auto* combo = dynamic_cast<ComboCell*>(control)) return combo->widget();
    if (auto* button = dynamic_cast<ButtonCell*>(control)) return button->widget();
    return nullptr;
}

}  // namespace velmor::components
