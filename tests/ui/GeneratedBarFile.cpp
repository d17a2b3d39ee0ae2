#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QFile>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {

// A smooth swing of prices, each line ended with CR LF as the terminal ends them.
void WriteGeneratedBarFile(const QString& path, int barCount) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < barCount; ++i) {
        const double open = 1.1 + 0.01 * std::sin(i / 10.0);
        const double close = 1.1 + 0.01 * std::sin((i + 1) / 10.0);
        char line[128];
        std::snprintf(line, sizeof line, "20240102,0100,%.5f,%.5f,%.5f,%.5f,100\r\n", open,
                      std::max(open, close) + 0.0005, std::min(open, close) - 0.0005, close);
        file.write(line);
    }
}

} // namespace quillon::testing_ui
