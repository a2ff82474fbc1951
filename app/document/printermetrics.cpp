// The printer metrics the document reads, from the source the printing layer sets.
#include "printermetrics.h"

namespace {

std::function<const TPrinterMetrics &()> &source()
{
    static std::function<const TPrinterMetrics &()> s;
    return s;
}

} // namespace

const TPrinterMetrics &PrinterMetrics()
{
    static const TPrinterMetrics none;
    return source() ? source()() : none;
}

void SetPrinterMetricsSource(std::function<const TPrinterMetrics &()> s) { source() = std::move(s); }
