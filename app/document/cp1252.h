// Windows-1252 text: conversion to and from QString, line-end handling and safe file writes.
// Files and the engine boundary carry Windows-1252; files are written CR LF, read LF or CR LF.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Cp1252 {

/** The character a Windows-1252 byte stands for. The five unassigned bytes (0x81, 0x8D, 0x8F,
 *  0x90, 0x9D) map to the C1 controls of the same value, so every byte survives a round trip. */
QChar toChar(unsigned char byte);
/** The byte of a character, or '?' when Windows-1252 cannot hold it (ok set false). */
char fromChar(QChar c, bool *ok = nullptr);
/** True when Windows-1252 can hold the character. */
bool canEncode(QChar c);
/** True when Windows-1252 can hold every character of the text. */
bool canEncode(const QString &text);

QString toUnicode(const QByteArray &bytes);
QString toUnicode(const char *bytes);
/** Each character that Windows-1252 cannot hold becomes '?'; lossless tells whether none did. */
QByteArray fromUnicode(const QString &text, bool *lossless = nullptr);

/** Splits file text into lines at LF, CR LF or a lone CR. A last line without a line end counts;
 *  a line end at the very end of the text adds no empty line. */
QList<QByteArray> splitLines(const QByteArray &bytes);
/** Every line followed by CR LF. */
QByteArray joinLinesCrLf(const QList<QByteArray> &lines);

/** Writes data to the file through a temporary file beside it that replaces the old one only
 *  once every byte reached the file: on any failure the temporary file is removed, the old file
 *  is left byte for byte as it was and error holds the system's reason ("No space left on
 *  device"). Every file the program writes goes through here. */
bool writeFileSafely(const QString &fileName, const QByteArray &data, QString *error = nullptr);
/** The message of a failed write for the user: the message, a blank line, then the file's name
 *  (left out when the message names it already) and the reason. */
QString writeFailureText(const QString &message, const QString &fileName, const QString &reason);
/** Encodes the lines as Windows-1252 with CR LF line ends and writes them safely. */
bool writeTextLines(const QString &fileName, const QStringList &lines, QString *error = nullptr);
/** Reads a Windows-1252 text file into lines (LF or CR LF). */
bool readTextLines(const QString &fileName, QStringList *lines, QString *error = nullptr);

} // namespace Cp1252
