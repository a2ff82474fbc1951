// ngin_fixture.h - test helpers for the construction engine: small packed dictionaries in a
// temporary folder, grids drawn from text rows, and checks of a finished fill.
#ifndef NGIN_FIXTURE_H
#define NGIN_FIXTURE_H

#include <string>
#include <vector>

namespace ngintest {

// Writes ZEDAVIV/E.P01..E.P17 for the words into folder with the dictionary tool's packing.
void WritePackedDictionary(const std::string &folder, const std::vector<std::string> &words);

// Reads a word list (one word a line, LF or CR LF) from the test data folder.
std::vector<std::string> ReadWordList(const std::string &name);

// Makes a fresh temporary folder with the dictionary and makes it the current folder.
std::string EnterDictionaryFolder(const std::vector<std::string> &words);

// Builds the grid from rows: '#' block, '.' empty, a letter a fixed letter.
void MakeGrid(const std::vector<std::string> &rows);

// The grid's letters row by row ('#' block, '.' empty).
std::vector<std::string> GridRows();

// Every slot word of the grid (complete slots only), in slot order.
std::vector<std::string> SlotWords();

// Describes what is wrong with a completed fill (a slot not complete, a word that is neither
// in the list nor a theme word, a word twice); empty when the fill is sound.
std::string CheckFill(const std::vector<std::string> &dictionary, const std::vector<std::string> &themeWords);

} // namespace ngintest

#endif
