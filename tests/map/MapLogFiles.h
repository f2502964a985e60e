#pragma once
// Logs for the map's tests, written as real files the way the recorder lays them out.

#include <QString>

#include <vector>

struct DriveRow {
    double seconds = 0;
    double speed = 0;
    double load = 0;
    double trim = 0;
    int source = 1;
    double temperature = 80;
    double throttle = 0.6;
    bool lost = false; // the link lost: every cell empty
};

// The drive's columns: speed, base injection, trim and its state, temperature, throttle
// voltage; `withTrim` false leaves the trim's two columns out, as before they were recorded.
// `writes` become event rows at their seconds.
void WriteDriveLog(const QString& path, const std::vector<DriveRow>& rows, bool withTrim = true,
                   const std::vector<double>& writes = {});

// The trim of the known drive in a cell around this speed and load.
double KnownTrim(double speed, double load);

// A sweep over every cell of the default map, `perCell` samples at each cell's middle, the
// trim KnownTrim with noise of at most ±0.5 %.
std::vector<DriveRow> KnownDrive(int perCell);
