// The program's own Enhanced Metafile (EMF) writer: a paint device whose painter calls become
// EMF records. No Linux library writes EMF, so the records are written here (little-endian,
// [MS-EMF]). The painter sees logical units of 1/1200 inch; the header describes the exported
// area on a fixed reference device of 4.0 pixels per millimetre (see emfwriter.cpp).
#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QString>

#include <memory>

class TEmfPaintEngine;

class TEmfDevice : public QPaintDevice
{
public:
    /** Logical units per inch the painter draws in (and metric() reports as its resolution). */
    static constexpr int kLogicalDpi = 1200;
    /** The fixed reference device of the header: 4.0 pixels per millimetre, letter-sized
     *  (216 x 279 mm, 864 x 1116 pixels). */
    static constexpr int kReferenceWidthMM = 216;
    static constexpr int kReferenceHeightMM = 279;
    static constexpr int kReferencePixelsPerMM = 4;

    /** A metafile of exactly widthInches x heightInches (non-positive sizes become 0.01). */
    TEmfDevice(double widthInches, double heightInches);
    ~TEmfDevice() override;
    TEmfDevice(const TEmfDevice &) = delete;
    TEmfDevice &operator=(const TEmfDevice &) = delete;

    QPaintEngine *paintEngine() const override;

    double WidthInches() const { return m_widthInches; }
    double HeightInches() const { return m_heightInches; }
    /** Size in logical units: round(inches x kLogicalDpi), at least 1. */
    int LogicalWidth() const { return m_logicalWidth; }
    int LogicalHeight() const { return m_logicalHeight; }

    /** The complete metafile once the painter has ended; empty before (and while painting). */
    QByteArray Bytes() const { return m_bytes; }
    /** Writes Bytes() safely (Cp1252::writeFileSafely): an existing file is replaced only when
     *  everything was written; on failure nothing is left behind and error (when given) says why. False too
     *  when there is no finished metafile yet. */
    bool SaveToFile(const QString &fileName, QString *error = nullptr) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class TEmfPaintEngine;
    double m_widthInches = 0, m_heightInches = 0;
    int m_logicalWidth = 1, m_logicalHeight = 1;
    QByteArray m_bytes;
    mutable std::unique_ptr<TEmfPaintEngine> m_engine;
};
