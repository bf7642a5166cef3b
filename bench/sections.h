#pragma once

#include "bench/figures.h"

#include <functional>

// The benchmark suite's sections. Each runs its own chathost and programs in
// the suite's private folders and hands every figure to the report as soon as
// it is measured; a section that cannot run at all reports a missed figure
// saying why.
using Report = std::function<void(const Figure &)>;

void startupSection(const Report &report);
void memorySection(const Report &report);
void waitingSection(const Report &report); // CPU while waiting, and the tick's cadence
void wakeupSection(const Report &report);
void chatSendSection(const Report &report);
void scrollbackSection(const Report &report); // a room's memory past its scrollback
void ircFloodSection(const Report &report);   // zorvel's lines during a CTCP flood

// A figure that could not be measured.
Figure notMeasured(const QString &name, const QString &why);
