// Writes the benchmark's synthetic ride to OUTDIR as ride.fit and ride.gpx,
// for side-by-side runs of tramu-cli and other tools.
#include "SyntheticRide.h"
#include "formats/GPXWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        const bool asked =
            argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
        std::fprintf(asked ? stdout : stderr,
                     "usage: make_synthetic_ride OUTDIR\n"
                     "Writes a synthetic 200,000-point ride as OUTDIR/ride.fit and ride.gpx.\n");
        return asked ? 0 : 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    const auto ride = zuvo::bench::syntheticRide(200'000);
    const zuvo::formats::GPXWriter writer{.creator = QStringLiteral("zuvo (Garmin)")};
    if (!directory.mkpath(QStringLiteral(".")) ||
        !writeFile(directory.filePath(QStringLiteral("ride.fit")),
                   zuvo::bench::syntheticFit(ride)) ||
        !writeFile(directory.filePath(QStringLiteral("ride.gpx")),
                   writer.write(ride, QStringLiteral("Synthetic")))) {
        std::fprintf(stderr, "make_synthetic_ride: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
