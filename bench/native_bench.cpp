// The two paths that run again and again, measured natively: a full save of
// the record through the portable writer, and a watcher tick that finds no
// dialog (FreeCell present), which is what every second of play costs.
//
// The save is measured in DW_BENCH_DIR (default: the current directory, on
// disk) and, where there is one, on /dev/shm, where syncing costs nothing:
// the difference is what the two syncs of a save cost.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "bench/counting_requests.h"
#include "bench/sample_record.h"
#include "freecell/watcher.h"
#include "record/portable_profile.h"
#include "record/settings.h"

namespace {

namespace fs = std::filesystem;
using namespace dw;

// No dialog anywhere, FreeCell's main window present. Counts what the tick
// asks, so the table can show a tick doing no more than looking.
class IdleWindowSystem final : public IWindowSystem {
public:
    static constexpr WindowHandle kFreeCell = 0x1234;
    long lookups = 0;
    long actions = 0;

    WindowHandle FindWindowByTitle(std::wstring_view) override {
        ++lookups;
        return kNoWindow;
    }
    WindowHandle FindWindowByClass(std::wstring_view cls) override {
        ++lookups;
        return cls == freecell::kWindowClass ? kFreeCell : kNoWindow;
    }
    WindowHandle FindChild(WindowHandle, std::wstring_view) override {
        ++lookups;
        return kNoWindow;
    }
    void SetForeground(WindowHandle) override { ++actions; }
    void Post(WindowHandle, const freecell::Message&) override { ++actions; }
    void BringToTop(WindowHandle) override { ++actions; }
    void Sleep(unsigned) override { ++actions; }
    bool Pause(unsigned) override {
        ++actions;
        return true;
    }
    bool Look(unsigned) override {
        ++actions;
        return true;
    }
    bool IsEnabled(WindowHandle) override {
        ++lookups;
        return true;
    }
    bool IsVisible(WindowHandle) override {
        ++lookups;
        return true;
    }
    bool InMenu(WindowHandle) override {
        ++lookups;
        return false;
    }
    std::optional<std::wstring> GetText(WindowHandle) override {
        ++actions;
        return std::nullopt;
    }
    bool SetText(WindowHandle, const std::wstring&) override {
        ++actions;
        return false;
    }
    std::uint64_t NowMs() override { return 0; }
    ClipboardTry PutClipboardText(const std::wstring&) override {
        ++actions;
        return {};
    }
};

void WatcherIdleTick(benchmark::State& state) {
    IdleWindowSystem ws;
    TFCGameRecord record = bench::SampleRecord();
    bench::CountingRequests ui;
    DialogWatcher watcher(ws, record, ui);
    for (auto _ : state) watcher.Timer1Timer(IdleWindowSystem::kFreeCell, 0x5678);
    const double ticks = static_cast<double>(state.iterations());
    state.counters["lookups/tick"] = static_cast<double>(ws.lookups) / ticks;
    state.counters["actions/tick"] = static_cast<double>(ws.actions + ui.count) / ticks;
}

void IniWritePortable(benchmark::State& state, fs::path base) {
    const fs::path dir = base / ("dw-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::wstring ini = (dir / "Dealwarden.Ini").wstring();
    PortableProfileFiles files;
    const TFCGameRecord record = bench::SampleRecord();
    IniWrite(files, ini, record, false);  // the file exists from here, as after the first booking
    for (auto _ : state) IniWrite(files, ini, record, false);
    state.counters["file bytes"] = static_cast<double>(fs::file_size(dir / "Dealwarden.Ini"));
    fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const char* env = std::getenv("DW_BENCH_DIR");
    const fs::path disk = env && *env ? fs::path(env) : fs::current_path();
    benchmark::RegisterBenchmark("IniWrite/portable/disk", IniWritePortable, disk)
        ->Unit(benchmark::kMillisecond);
    if (fs::is_directory("/dev/shm"))
        benchmark::RegisterBenchmark("IniWrite/portable/tmpfs", IniWritePortable,
                                     fs::path("/dev/shm"))
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("WatcherTick/idle", WatcherIdleTick)->Unit(benchmark::kNanosecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
