#pragma once

#include <clocale>
#include <locale>
#include <string>

namespace velmor::test {

// For its lifetime, makes the process look like one that runs under a regional setting with a decimal
// comma, as the program does for many users. The C++ global locale always gets a numeric facet of our own
// with "," as decimal point and "." between thousands, so it needs no installed locale. The C library's
// numeric locale is switched as well when a locale with a decimal comma is installed; `cLocale()` names it,
// or is empty when none was found.
class CommaLocale {
  public:
    CommaLocale() : previousCpp_(std::locale()), previousC_(std::setlocale(LC_ALL, nullptr)) {
        std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
        const char* const names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                     "nl_NL.UTF-8", "nl_NL.utf8", "de_DE",       "fr_FR"};
        for (const char* name : names) {
            if (std::setlocale(LC_NUMERIC, name) != nullptr && *std::localeconv()->decimal_point == ',') {
                cLocale_ = name;
                break;
            }
        }
        if (cLocale_.empty()) std::setlocale(LC_ALL, previousC_.c_str());
    }
    ~CommaLocale() {
        std::locale::global(previousCpp_);
        std::setlocale(LC_ALL, previousC_.c_str());
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    const std::string& cLocale() const { return cLocale_; }

  private:
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };

    std::locale previousCpp_;
    std::string previousC_;
    std::string cLocale_;
};

}  // namespace velmor::test
