// Text from Windows-1252 bytes, for tests that type accented letters by their code.
#pragma once

#include "cp1252.h"

#include <QString>

#include <initializer_list>

inline QString cp(std::initializer_list<unsigned char> bytes)
{
    QString text;
    for (unsigned char b : bytes)
        text += Cp1252::toChar(b);
    return text;
}
