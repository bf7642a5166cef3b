#include "figures.h"

#include <algorithm>
#include <cstdio>

namespace {
void printRow(const QString &name, const QString &value, const QString &reference,
              const QString &ratio, const QString &goal, const QString &result) {
    std::printf("%-46s %14s %18s %7s %-22s %s\n", qPrintable(name), qPrintable(value),
                qPrintable(reference), qPrintable(ratio), qPrintable(goal), qPrintable(result));
    std::fflush(stdout);
}
} // namespace

void printHeading() {
    printRow(QStringLiteral("figure"), QStringLiteral("value"), QStringLiteral("reference"),
             QStringLiteral("ratio"), QStringLiteral("goal"), QStringLiteral("result"));
}

void printFigure(const Figure &figure) {
    printRow(figure.name, figure.value, figure.reference,
             figure.ratio < 0 ? QString() : QString::number(figure.ratio, 'f', 2), figure.goal,
             figure.met ? QStringLiteral("pass") : QStringLiteral("MISS"));
}

double quantile(std::vector<double> values, double q) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::size_t(q * double(values.size() - 1) + 0.5)];
}

double median(const std::vector<double> &values) { return quantile(values, 0.5); }

QString millis(double ms) {
    return QString::number(ms, 'f', ms < 10 ? 2 : 1) + QStringLiteral(" ms");
}

QString mebibytes(double kib) {
    return QString::number(kib / 1024.0, 'f', 1) + QStringLiteral(" MiB");
}
