#pragma once

#include <QString>
#include <vector>

// One measured figure of the benchmark suite, printed as one row: what was
// measured, its value, the reference it is set against (if any), the ratio
// to that reference, the goal, and whether the goal was met.
struct Figure {
    QString name;
    QString value;
    QString reference; // empty where the figure has no reference
    double ratio = -1; // value / reference; negative where there is none
    QString goal;
    bool met = false;
};

// Prints the table's heading, and one figure as a row of it.
void printHeading();
void printFigure(const Figure &figure);

// The q-th quantile (0..1) of the values, nearest rank.
double quantile(std::vector<double> values, double q);
double median(const std::vector<double> &values);

// "12.3 ms", "45.6 MiB" and the like.
QString millis(double ms);
QString mebibytes(double kib);
