// The in-process figures of `make bench`, each beside the bare loop it is held against:
//   getdata          reading a scan file into the point block (file read included)
//   bare_from_chars  the same bytes split into lines and converted with std::from_chars
//   RefreshListing   the main window's listing: formatting every point and writing the file
//   bare_snprintf    the same count of numbers formatted with snprintf and written to a file
//   redraw           the editor's full redraw into a 1920 x 1080 back buffer
// Usage: skerry-bench --scan=FILE [Google Benchmark options]. Files are written in the
// current directory; the plot needs a Qt platform (QT_QPA_PLATFORM=offscreen will do).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "BenchPlatform.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/input/DataLibrary.h"
#include "skerryui/editor/PlotRenderer.h"
#include "skerryui/mainwindow/MainWindow.h"

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

void writeBare(const char* path, const std::string& bytes) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(written);
    ::close(fd);
}

void getdataFigure(benchmark::State& state, const std::string& scan) {
    auto points = std::make_unique<PointArray>();
    auto comments = std::make_unique<CommentLines>();
    std::int32_t count = 0;
    std::int32_t commentCount = 0;
    std::string fileText;
    for (auto _ : state) {
        auto refusal = getdata(scan, *points, count, *comments, commentCount, &fileText);
        if (refusal) {
            state.SkipWithError(refusal->c_str());
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

void refreshListingFigure(benchmark::State& state, const std::string& scan) {
    bench::BenchPlatform platform;
    auto program = std::make_unique<Program>();
    if (auto refusal = loadDataFile(program->data, scan)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    MainWindow window(*program, platform);
    for (auto _ : state) {
        window.model().RefreshListing();
    }
    state.counters["points"] = program->data.PointCount;
}

// Three numbers a point, in the listing's widths, formatted with snprintf and written out.
void bareSnprintfFigure(benchmark::State& state, const std::string& scan) {
    auto data = std::make_unique<DataSet>();
    if (auto refusal = loadDataFile(*data, scan)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    std::string text;
    for (auto _ : state) {
        text.clear();
        text.reserve(static_cast<std::size_t>(data->PointCount) * 48);
        for (int i = 1; i <= data->PointCount; ++i) {
            const Point& p = data->WorkPoints(i);
            char line[96];
            const int n = std::snprintf(line, sizeof line, "   %.5f   % .5E   % .3E\r\n",
                                        static_cast<double>(p.x), static_cast<double>(p.reading),
                                        static_cast<double>(p.third));
            text.append(line, static_cast<std::size_t>(n));
        }
        writeBare("~bare.tmp", text);
    }
    state.counters["points"] = data->PointCount;
}

// Form_Paint prepares the frame (axis rounding, ticks, scale factors, font sizes) and has the
// plot drawn, exactly as every repaint of the editor does.
void redrawFigure(benchmark::State& state, const std::string& scan) {
    bench::BenchPlatform platform;
    auto program = std::make_unique<Program>();
    if (auto refusal = loadDataFile(program->data, scan)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    auto editor = std::make_unique<EditorModel>(platform);
    editor->loadPoints(program->data);
    editor->Form_Load(program->ShowXYDefault);
    QImage image = makePlotImage(QSize(PlotWidthPixels, PlotHeightPixels));
    const PlotColors colors = plotColors(*program);
    editor->setRedrawHandler([&] { renderPlot(image, *editor, colors); });
    editor->Form_Resize(PlotWidthPixels, PlotHeightPixels, PlotWidthPixels, PlotHeightPixels);
    for (auto _ : state) {
        editor->Form_Paint();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = editor->EditCount;
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
    benchmark::RegisterBenchmark("RefreshListing", refreshListingFigure, scan);
    benchmark::RegisterBenchmark("bare_snprintf", bareSnprintfFigure, scan);
    benchmark::RegisterBenchmark("redraw", redrawFigure, scan)->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
