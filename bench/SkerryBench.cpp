// The in-process figures of `make bench`, each beside the bare loop it is held against:
//   getdata          reading a scan file into the point block (file read included)
//   bare_from_chars  the same bytes split into lines and converted with std::from_chars
//   suggest          the suggested edits of the scan read: its solution columns and spikes
//   listing          the main window's listing text: the comment lines and every point
//   bare_to_chars    the same lines written with std::to_chars into one buffer
//   bare_snprintf    the same lines written with snprintf into one buffer
//   redraw           the editor's full redraw into a 1920 x 1080 back buffer
//   redraw_run       the same with a run of 60 scans made from the scan (bench/BenchRun.h)
// Usage: skerry-bench --scan=FILE [Google Benchmark options]. The plot needs a Qt platform
// (QT_QPA_PLATFORM=offscreen will do).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "BenchPlatform.h"
#include "BenchRun.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/model/Listing.h"
#include "skerry/suggest/Suggestion.h"
#include "skerryui/editor/PlotRenderer.h"

namespace {

using namespace skerry;

// The plot's back buffer, as large as a full-screen editor draws.
constexpr int PlotWidthPixels = 1920;
constexpr int PlotHeightPixels = 1080;

// A whole file read with one open, a size look-up and reads, as a bare program would.
std::string readBare(const char* path) {
    std::string bytes;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return bytes;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return bytes;
}

void getdataFigure(benchmark::State& state, const std::string& scan) {
    auto points = std::make_unique<PointArray>();
    auto comments = std::make_unique<CommentLines>();
    std::int32_t count = 0;
    std::int32_t commentCount = 0;
    std::string fileText;
    for (auto _ : state) {
        const Done read = getdata(scan, *points, count, *comments, commentCount, &fileText);
        if (!read) {
            state.SkipWithError(read.reason().c_str());
            return;
        }
        benchmark::DoNotOptimize(points.get());
    }
    state.counters["points"] = count;
}

// Every blank-separated number after the two header lines, into one vector.
void bareFromCharsFigure(benchmark::State& state, const std::string& scan) {
    std::vector<float> values;
    for (auto _ : state) {
        const std::string bytes = readBare(scan.c_str());
        values.clear();
        values.reserve(std::size_t{3} * MaxPoints);
        const char* p = bytes.data();
        const char* const end = p + bytes.size();
        for (int header = 0; header < 2 && p < end; ++header) {
            const void* eol = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            p = eol != nullptr ? static_cast<const char*>(eol) + 1 : end;
        }
        while (p < end) {
            const void* found = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            const char* const eol = found != nullptr ? static_cast<const char*>(found) : end;
            while (p < eol) {
                while (p < eol && (*p == ' ' || *p == '\t' || *p == '\r')) {
                    ++p;
                }
                if (p == eol) {
                    break;
                }
                float value = 0.0f;
                const auto result = std::from_chars(p, eol, value);
                if (result.ec != std::errc()) {
                    state.SkipWithError("a number the bare loop cannot read");
                    return;
                }
                values.push_back(value);
                p = result.ptr;
            }
            p = eol + 1;
        }
        benchmark::DoNotOptimize(values.data());
    }
    state.counters["points"] = static_cast<double>(values.size()) / 3.0;
}

// The suggested edits of the scan as read: the search for its columns and spikes alone.
void suggestFigure(benchmark::State& state, const std::string& scan) {
    auto data = std::make_unique<DataSet>();
    if (const Done loaded = loadDataFile(*data, scan); !loaded) {
        state.SkipWithError(loaded.reason().c_str());
        return;
    }
    std::size_t columns = 0;
    for (auto _ : state) {
        const auto suggestion = suggestEdits(*data);
        columns = suggestion ? suggestion->columns.size() : 0;
        benchmark::DoNotOptimize(&suggestion);
    }
    state.counters["points"] = data->PointCount;
    state.counters["columns"] = static_cast<double>(columns);
}

// The listing the main window shows and writes after every change: the comment lines and one
// line a point.
void listingFigure(benchmark::State& state, const std::string& scan) {
    auto data = std::make_unique<DataSet>();
    if (const Done loaded = loadDataFile(*data, scan); !loaded) {
        state.SkipWithError(loaded.reason().c_str());
        return;
    }
    for (auto _ : state) {
        std::string text = listingText(*data);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["points"] = data->PointCount;
}

// Writes a point's three numbers at `out` in the listing's order and widths; returns the end.
using PointWriter = char* (*)(char* out, char* end, const Point& point);

// The floor of the listing: the comment lines copied and each point written by `write` into
// one buffer made once, with no pattern to follow and no rounding of its own.
void bareListingFigure(benchmark::State& state, const std::string& scan, PointWriter write) {
    auto data = std::make_unique<DataSet>();
    if (const Done loaded = loadDataFile(*data, scan); !loaded) {
        state.SkipWithError(loaded.reason().c_str());
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(data->CommentCount) * 98 +
                             static_cast<std::size_t>(data->PointCount) * 96);
    char* const end = buffer.data() + buffer.size();
    for (auto _ : state) {
        char* out = buffer.data();
        for (int i = 1; i <= data->CommentCount; ++i) {
            const std::string_view line = data->CommentBlock.line(i);
            out = std::copy(line.begin(), line.end(), out);
            *out++ = '\r';
            *out++ = '\n';
        }
        for (int i = 1; i <= data->PointCount; ++i) {
            out = write(out, end, data->WorkPoints(i));
        }
        benchmark::DoNotOptimize(out);
    }
    state.counters["points"] = data->PointCount;
}

char* blanks(char* out, int count) {
    return std::fill_n(out, count, ' ');
}

// A number in the listing's sign column: a blank where a minus would stand.
char* signedToChars(char* out, char* end, float value, int decimals) {
    if (!std::signbit(value)) {
        *out++ = ' ';
    }
    return std::to_chars(out, end, value, std::chars_format::scientific, decimals).ptr;
}

char* toCharsLine(char* out, char* end, const Point& p) {
    out = blanks(out, 3);
    out = std::to_chars(out, end, p.x, std::chars_format::fixed, 5).ptr;
    out = blanks(out, 3);
    out = signedToChars(out, end, p.reading, 5);
    out = blanks(out, 3);
    out = signedToChars(out, end, p.third, 3);
    *out++ = '\r';
    *out++ = '\n';
    return out;
}

char* snprintfLine(char* out, char* end, const Point& p) {
    const int n = std::snprintf(out, static_cast<std::size_t>(end - out),
                                "   %.5f   % .5E   % .3E\r\n", static_cast<double>(p.x),
                                static_cast<double>(p.reading), static_cast<double>(p.third));
    return out + n;
}

// The scans of a run drawn at once in the redraw_run figure.
constexpr int RunScans = 60;

// Form_Paint prepares the frame (axis rounding, ticks, scale factors, font sizes) and has the
// plot drawn, exactly as every repaint of the editor does: of the scan alone, or of a run of
// `scans` made from it.
void redrawFigure(benchmark::State& state, const std::string& scan, int scans) {
    bench::BenchPlatform platform;
    auto program = std::make_unique<Program>();
    if (const Done loaded = loadDataFile(program->data(), scan); !loaded) {
        state.SkipWithError(loaded.reason().c_str());
        return;
    }
    if (scans > 1) {
        const auto one = std::make_unique<DataSet>(program->data());
        bench::fillRun(program->run, *one, scans);
    }
    auto editor = std::make_unique<EditorModel>(platform);
    editor->loadRun(program->run);
    editor->Form_Load(program->ShowXYDefault);
    QImage image = makePlotImage(QSize(PlotWidthPixels, PlotHeightPixels));
    const PlotColors colors = plotColors(*program);
    editor->setRedrawHandler([&] { renderPlot(image, editor->view(), colors); });
    editor->Form_Resize(PlotWidthPixels, PlotHeightPixels, PlotWidthPixels, PlotHeightPixels);
    for (auto _ : state) {
        editor->Form_Paint();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = editor->view().EditCount() * scans;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::string scan;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--scan=", 0) == 0) {
            scan = arg.substr(7);
        } else {
            std::fprintf(stderr, "skerry-bench: unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (scan.empty()) {
        std::fprintf(stderr, "usage: skerry-bench --scan=FILE [benchmark options]\n");
        return 2;
    }
    benchmark::RegisterBenchmark("getdata", getdataFigure, scan);
    benchmark::RegisterBenchmark("bare_from_chars", bareFromCharsFigure, scan);
    benchmark::RegisterBenchmark("suggest", suggestFigure, scan);
    benchmark::RegisterBenchmark("listing", listingFigure, scan);
    benchmark::RegisterBenchmark("bare_to_chars", bareListingFigure, scan, toCharsLine);
    benchmark::RegisterBenchmark("bare_snprintf", bareListingFigure, scan, snprintfLine);
    benchmark::RegisterBenchmark("redraw", redrawFigure, scan, 1)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("redraw_run", redrawFigure, scan, RunScans)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
