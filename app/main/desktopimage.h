// The desktop picture of the main window, decoded with libjpeg.
#pragma once

#include <QImage>
#include <QString>

/** The largest desktop picture file, in bytes, that is still loaded is one less than this: the
 *  file must have fewer than 100000 blocks of 128 bytes. */
constexpr qint64 DesktopImageBlockSize = 128;
constexpr qint64 DesktopImageMaxBlocks = 100000;

/** Decodes a JPEG file at best quality. Gives a null image when the file is missing, has
 *  100000 or more blocks of 128 bytes, or cannot be decoded; never reports an error. */
QImage LoadDesktopJpeg(const QString &fileName);

/** Decodes JPEG data held in memory; a null image on any failure. */
QImage DecodeJpeg(const QByteArray &data);
