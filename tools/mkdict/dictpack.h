// dictpack.h - packing words into the engine's dictionary files E.P01 ... E.P17: 5-bit letters,
// three to a 16-bit unit, lists of lengths 2-9 in letter-group sections, size limits per length.
#ifndef TRV_DICTPACK_H
#define TRV_DICTPACK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trvdict {

constexpr int MaxLength = 17;
constexpr size_t MaxRecords = 65534;     // the reader warns from 65535 on
constexpr size_t SectionedLimit = 65500; // files of lengths 2-9 below this have sections

// Bytes per record of a length: 2 x ceil(length / 3).
int recordBytes(int length);
// The units of one word of letters A-Z (either case), grouped in threes from the end.
std::vector<uint16_t> packWord(const std::string &word);
// The letter-group signature of a word of length 2 to 9, first letter in the highest field.
unsigned signature(const std::string &word);

// The upper-cased word, or "" when it has anything but letters or is longer than 17.
// With lowerOnly, upper-case letters are refused too (SCOWL's proper nouns).
std::string normalizeWord(const std::string &line, bool lowerOnly);

struct ListFile {
    int length = 0;
    std::vector<uint8_t> bytes;
    size_t words = 0;   // words written
    size_t dropped = 0; // words left out by the limits
    bool sectioned = false;
};

// The file of one length from distinct words of that length, commonest first: as many as the
// limits allow are kept, in sections (lengths 2-9 under 65500 bytes) or as plain records.
ListFile buildList(int length, const std::vector<std::string> &words);

// Builds and writes E.P01 ... E.P17 into dir from words, commonest first (repeats are dropped);
// with another letter, the files of that name (C.P01 ... C.P17 hold the common words).
bool writeDictionary(const std::string &dir, const std::vector<std::string> &words,
                     std::vector<ListFile> *lists, std::string *error, char letter = 'E');

// Appends the accepted words of a file of one word per line (LF or CR LF), in file order.
bool readWordFile(const std::string &path, bool lowerOnly, std::vector<std::string> &words,
                  std::string *error);
// Appends the words of the SCOWL lists <dir>/<list>-words.<level> for every level up to maxLevel,
// lower levels first.
bool readScowl(const std::string &dir, const std::vector<std::string> &lists, int maxLevel,
               std::vector<std::string> &words, std::string *error);

} // namespace trvdict

#endif
