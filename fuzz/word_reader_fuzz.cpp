// libFuzzer target: every input is the content of a text file that the program reads word by word. A read
// may refuse a word or a line with EInOutError only. Every read must move the cursor forward, the words
// handed out or refused must be exactly the words of the file, and the reads must end at the end of the
// file; anything else, an uncaught exception, a crash, a sanitizer report or a hang is a finding.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "fields/exceptions.h"
#include "scratch_files.h"
#include "tables/word_reader.h"

using velmor::components::EInOutError;
using velmor::components::TWordReader;

namespace {

std::string g_path;

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void writeInput(const uint8_t* data, size_t size) {
    if (!velmor::fuzz::WriteScratchFile(g_path, data, size)) finding("cannot write the input file");
}

std::pair<int, int> cursor(const TWordReader& reader) {
    return {reader.CurrentLine(), reader.CurrentItem()};
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_path = velmor::fuzz::MakeScratchDirectory("/tmp/velmor-words-fuzz-XXXXXX") + "/input.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    TWordReader reader(g_path);
    int wordsInFile = 0;
    for (int i = 0; i < reader.Lines().Count(); ++i) wordsInFile += reader.Lines().Items(i)->Count();

    // Integers and floats in turn, the choice following the input so that both meet every kind of word.
    int wordsTaken = 0;
    for (std::size_t step = 0;; ++step) {
        const auto before = cursor(reader);
        const bool asInteger = size > 0 && (data[step % size] & 1) != 0;
        try {
            if (asInteger) {
                reader.ReadInteger();
            } else {
                reader.ReadFloat();
            }
            ++wordsTaken;
        } catch (const EInOutError& e) {
            if (e.message() == "This file either invalid or incomplete.") {
                if (!reader.Eof()) finding("the file ended before the cursor reached its end");
                break;
            }
            if (e.message().rfind("Error on Line ", 0) != 0) finding("a read failed with an unknown message");
            // A word that does not convert counts as read; a line without words hands out none.
            if (reader.CurrentItem() > 0) ++wordsTaken;
        }
        if (!(cursor(reader) > before)) finding("a read did not move the cursor");
    }
    if (wordsTaken != wordsInFile) finding("the reads did not take every word of the file");

    // Whole lines: one per line of the file, none holding a line end, then the end.
    TWordReader lines(g_path);
    int linesRead = 0;
    while (!lines.Eof()) {
        std::string line;
        lines.ReadLine(line);
        if (line.find_first_of("\r\n") != std::string::npos) finding("a line end stayed in a line");
        ++linesRead;
    }
    if (linesRead != lines.Lines().Count()) finding("the line reads did not take every line of the file");
    return 0;
}
