#include "pdfprinter/converter/StopSignals.h"

CStopSignals::CStopSignals(std::function<void()> onStop)
    : m_notifier([onStop = std::move(onStop)](int) { onStop(); })
{
}
