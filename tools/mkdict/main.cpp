// main.cpp - trv_mkdict: writes the dictionary files E.P01 ... E.P17 from SCOWL word lists or
// from plain word-list files, and prints how many words each length got.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dictpack.h"

static void usage()
{
    std::fprintf(stderr, "usage: trv_mkdict --out DIR [--scowl DIR --lists english,american --size 70]\n"
                         "                  [--words FILE]... [--letter C]\n");
}

static std::vector<std::string> splitList(const std::string &s)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == ',' || c == ';') {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

int main(int argc, char **argv)
{
    std::string out, scowl, lists = "english,american";
    int size = 70;
    char letter = 'E';
    std::vector<std::string> files;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        std::string v = argv[++i];
        if (a == "--out")
            out = v;
        else if (a == "--scowl")
            scowl = v;
        else if (a == "--lists")
            lists = v;
        else if (a == "--size")
            size = std::atoi(v.c_str());
        else if (a == "--words")
            files.push_back(v);
        else if (a == "--letter" && v.size() == 1 && v[0] >= 'A' && v[0] <= 'Z')
            letter = v[0];
        else {
            usage();
            return 2;
        }
    }
    if (out.empty() || (scowl.empty() && files.empty())) {
        usage();
        return 2;
    }

    std::vector<std::string> words;
    std::string error;
    if (!scowl.empty() && !trvdict::readScowl(scowl, splitList(lists), size, words, &error)) {
        std::fprintf(stderr, "trv_mkdict: %s\n", error.c_str());
        return 1;
    }
    for (const auto &f : files) {
        if (!trvdict::readWordFile(f, false, words, &error)) {
            std::fprintf(stderr, "trv_mkdict: %s\n", error.c_str());
            return 1;
        }
    }
    std::vector<trvdict::ListFile> made;
    if (!trvdict::writeDictionary(out, words, &made, &error, letter)) {
        std::fprintf(stderr, "trv_mkdict: %s\n", error.c_str());
        return 1;
    }
    size_t total = 0;
    for (const auto &lf : made) {
        std::printf("%c.P%02d %6zu words %6zu bytes %s", letter, lf.length, lf.words, lf.bytes.size(),
                    lf.sectioned ? "sections" : "records ");
        if (lf.dropped)
            std::printf("  (%zu less common words left out)", lf.dropped);
        std::printf("\n");
        total += lf.words;
    }
    std::printf("dictionary: %zu words in %s\n", total, out.c_str());
    return 0;
}
