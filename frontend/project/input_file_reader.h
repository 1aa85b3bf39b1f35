#pragma once

#include <string>
#include <vector>

#include "project/program_data.h"
#include "tables/word_reader.h"

namespace velmor::project {

// Reads the problems of an input or stage file into a project: the scalars into its fields, the records
// into its tables. Counts are checked against the words left in the file before they size a table, so a
// damaged file ends with a line-and-item message instead of an unbounded allocation.
class TInputFileReader {
  public:
    // Reads the whole file; one that cannot be read raises EInOutError.
    TInputFileReader(TProgramData& Data, const std::string& FileName);

    // The project of a file in the layout FormatVersion (1 current, 2 the older 3.0, anything else 2.0),
    // with its long-term problem when the end flag is 9. The project's tables are empty when it starts.
    void ReadProject(int FormatVersion);
    // One construction stage into a project that already holds one: the tables keep their rows until the
    // file sets their counts; FullFormat chooses the current layout or 3.0; no long-term problem.
    void ReadStage();

  private:
    enum class Pass { First, LongTerm, Stage };
    void problem(Pass APass, int Format, TGridTable& Pressure, TGridTable& Layers);
    void wallAndSoil(Pass APass, int Format, TGridTable& Layers);
    void layers20(TGridTable& Layers);
    void slotLines(int Type, TGridTable* Parameters);

    int readInt() { return reader_.ReadInteger(); }
    Extended readFloat() { return reader_.ReadFloat(); }
    // A count that sizes a table, each of whose rows needs at least WordsPerRow more words of the file.
    int readCount(int WordsPerRow);
    [[noreturn]] void itemError(const std::string& Text) const;
    long long wordsLeft() const;
    Extended fromFeet(Extended Value) const { return english_ ? Value / 12 : Value; }

    TProgramData& d_;
    TProjectTables& t_;
    components::TWordReader reader_;
    std::vector<long long> wordsFrom_;  // words in line i and every line after it
    bool english_ = false;
};

}  // namespace velmor::project
