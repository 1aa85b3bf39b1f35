#pragma once

#include <initializer_list>

class QPrinter;
class QWidget;

namespace velmor::components {

enum class TPageSetupFlag {
    poDefaultMinMargins,
    poDisableMargins,
    poMargins,
    poMinMargins,
    poDisableOrientation,
    poDisablePaper,
    poDisablePrinter,
    poHundredthsOfMillimeters,
    poThousandthsOfInches,
};

// A set of TPageSetupFlag.
class TPageSetupFlags {
  public:
    TPageSetupFlags() = default;
    TPageSetupFlags(std::initializer_list<TPageSetupFlag> flags) {
        for (TPageSetupFlag flag : flags) include(flag);
    }
    bool contains(TPageSetupFlag flag) const { return (bits_ & bit(flag)) != 0; }
    void include(TPageSetupFlag flag) { bits_ |= bit(flag); }
    void exclude(TPageSetupFlag flag) { bits_ &= ~bit(flag); }
    bool operator==(const TPageSetupFlags& other) const { return bits_ == other.bits_; }
    bool operator!=(const TPageSetupFlags& other) const { return bits_ != other.bits_; }

  private:
    static unsigned bit(TPageSetupFlag flag) { return 1u << static_cast<unsigned>(flag); }
    unsigned bits_ = 0;
};

// The page-setup dialog of the graph window: paper, orientation and margins of the printer. Margins are
// held in thousandths of an inch or hundredths of a millimetre, as the options choose.
class TPageSetupDialog {
  public:
    TPageSetupDialog();

    TPageSetupFlags Options() const { return options_; }
    // Of the two minimum-margin flags and of the two unit flags, one newly chosen removes the other.
    void SetOptions(TPageSetupFlags Value);

    // A margin is raised to at least its minimum; a minimum is lowered to at most its margin.
    int MarginLeft() const { return marginLeft_; }
    int MarginTop() const { return marginTop_; }
    int MarginRight() const { return marginRight_; }
    int MarginBottom() const { return marginBottom_; }
    void SetMarginLeft(int Value) { marginLeft_ = Value < minMarginLeft_ ? minMarginLeft_ : Value; }
    void SetMarginTop(int Value) { marginTop_ = Value < minMarginTop_ ? minMarginTop_ : Value; }
    void SetMarginRight(int Value) { marginRight_ = Value < minMarginRight_ ? minMarginRight_ : Value; }
    void SetMarginBottom(int Value) { marginBottom_ = Value < minMarginBottom_ ? minMarginBottom_ : Value; }
    int MinMarginLeft() const { return minMarginLeft_; }
    int MinMarginTop() const { return minMarginTop_; }
    int MinMarginRight() const { return minMarginRight_; }
    int MinMarginBottom() const { return minMarginBottom_; }
    void SetMinMarginLeft(int Value) { minMarginLeft_ = Value > marginLeft_ ? marginLeft_ : Value; }
    void SetMinMarginTop(int Value) { minMarginTop_ = Value > marginTop_ ? marginTop_ : Value; }
    void SetMinMarginRight(int Value) { minMarginRight_ = Value > marginRight_ ? marginRight_ : Value; }
    void SetMinMarginBottom(int Value) { minMarginBottom_ = Value > marginBottom_ ? marginBottom_ : Value; }

    // Paper size of the last successful Execute, in the margins' unit; 0 before.
    int PaperLength() const { return paperLength_; }
    int PaperWidth() const { return paperWidth_; }

    // Runs the page-setup dialog for `printer` (the default printer when none is given), centred
    // horizontally on the screen with a third of the free height above it. OK stores the paper size and
    // the margins and gives True; Cancel gives False. A failure is shown as "Error in
    // TPageSetupDialog.Execute" and gives False.
    bool Execute(QWidget* parent = nullptr, QPrinter* printer = nullptr);

  private:
    TPageSetupFlags options_{TPageSetupFlag::poDefaultMinMargins, TPageSetupFlag::poHundredthsOfMillimeters};
    int marginLeft_ = 0, marginTop_ = 0, marginRight_ = 0, marginBottom_ = 0;
    int minMarginLeft_ = 0, minMarginTop_ = 0, minMarginRight_ = 0, minMarginBottom_ = 0;
    int paperLength_ = 0, paperWidth_ = 0;
};

}  // namespace velmor::components
