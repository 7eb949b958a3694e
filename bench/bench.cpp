// Prints what a run of the tool costs, against plain-C programs that do the
// least the same job needs. Figures only: nothing here passes or fails.
//   velmora_bench [runs]

#include "../tests/wine/clipboard_access.h"
#include "../tests/wine/clipboard_programs.h"
#include "../tests/wine/editor.h"
#include "../tests/wine/tool_run.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds;
  double peakMegabytes; // the process's peak working set
};

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Wine forgets a process's counters once it has ended, so the peak is read
// while it runs; the last reading holds the peak.
Sample Time(const char *program, const std::string &arguments = "",
            bool watchMemory = false) {
  const double start = Now();
  ToolRun run(arguments, program);
  SIZE_T peak = 0;
  while (watchMemory && run.Running()) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (K32GetProcessMemoryInfo(run.process.hProcess, &memory, sizeof memory))
      peak = std::max(peak, memory.PeakWorkingSetSize);
    Sleep(1);
  }
  const DWORD code = run.Wait();
  const Sample sample{Now() - start, static_cast<double>(peak) / 1e6};
  if (code != 0)
    std::printf("  %s exited with %lu\n", program, code);
  return sample;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The tool of another revision, when scripts/benchmark.sh has put one beside
// this one: timed in the same interleaved runs, so that the two compare
// under the same load.
const char Baseline[] = "velmora_baseline.exe";
bool HasBaseline() {
  return GetFileAttributesA((ToolDirectory + '\\' + Baseline).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

void RunCost(int runs) {
  std::printf("Run cost: \"/c\" over the stand-in editor, median of %d "
              "interleaved starts\n",
              runs);
  Editor editor(Selecting("beta"));
  std::vector<const char *> programs = {"velmora.exe", "bench_empty.exe",
                                        "bench_clear.exe"};
  if (HasBaseline())
    programs.push_back(Baseline);
  const std::size_t count = programs.size();
  std::vector<std::vector<double>> times(count);
  for (int i = 0; i < runs; ++i)
    for (std::size_t p = 0; p < count; ++p) {
      const std::size_t which = (p + static_cast<std::size_t>(i)) % count;
      times[which].push_back(Time(programs[which], "/c").seconds);
    }
  const double tool = Median(times[0]);
  std::printf("  velmora.exe /c       %7.1f ms\n", tool * 1e3);
  const char *labels[] = {"", "empty GUI program ", "plain-C /c program",
                          "baseline /c       "};
  for (std::size_t p = 1; p < count; ++p)
    std::printf("  %s   %7.1f ms   ratio %.3f\n", labels[p],
                Median(times[p]) * 1e3, tool / Median(times[p]));
}

// UTF-16 text of that many units, with characters code page 932 lacks and a
// surrogate pair in every line.
std::wstring UnicodePattern(std::size_t size) {
  const std::wstring line =
      L"Velmora caf\u00e9 \u2603 \uD55C \u65E5\u672C \U0001F600\r\n";
  std::wstring text;
  text.reserve(size);
  while (text.size() + line.size() <= size)
    text += line;
  text.append(size - text.size(), L'x');
  return text;
}

std::string Pattern(std::size_t size) {
  std::string text(size, ' ');
  for (std::size_t i = 0; i < size; ++i)
    text[i] = static_cast<char>('!' + i % 90);
  return text;
}

void Scale(int runs) {
  std::printf("\nScale: the append path against a plain-C clipboard round "
              "trip, median of %d runs\n",
              runs);
  std::printf("  (U: a Unicode prior text of as many UTF-16 units, with "
              "characters code page 932 lacks;\n  MB/s counts its units; UE: "
              "the same placed while typing in English, which\n  the tool "
              "converts to code page 932 itself)\n");
  std::printf("  %-9s %10s %10s %10s  %10s %10s %7s\n", "prior", "tool s",
              "tool MB/s", "tool MB", "trip s", "trip MB", "ratio");
  Editor editor(Selecting("beta"));
  struct Size {
    const char *label;
    std::size_t units;
    bool unicode; // placed as CF_UNICODETEXT, of as many UTF-16 units
    LCID locale;  // placed beside it, where not 0
  };
  const Size sizes[] = {
      {"1 KiB", 1u << 10, false, 0},          {"1 MiB", 1u << 20, false, 0},
      {"16 MiB", 16u << 20, false, 0},        {"16 MiB U", 16u << 20, true, 0},
      {"16 MiB UE", 16u << 20, true, 0x0409}, {"64 MiB", 64u << 20, false, 0}};
  for (const Size &size : sizes) {
    std::vector<ClipboardItem> prior = {
        size.unicode ? UnicodeItem(UnicodePattern(size.units))
                     : TextItem(Pattern(size.units))};
    if (size.locale != 0)
      prior.push_back(LocaleItem(size.locale));
    std::vector<double> tool, trip, baseline;
    const bool withBaseline = HasBaseline();
    // Timed runs first, then one run each to watch memory.
    for (int i = 0; i < runs; ++i) {
      SetClipboardItems(prior);
      tool.push_back(Time("velmora.exe").seconds);
      SetClipboardItems(prior);
      trip.push_back(Time("bench_roundtrip.exe").seconds);
      if (!withBaseline)
        continue;
      SetClipboardItems(prior);
      baseline.push_back(Time(Baseline).seconds);
    }
    SetClipboardItems(prior);
    const double toolPeak = Time("velmora.exe", "", true).peakMegabytes;
    SetClipboardItems(prior);
    const double tripPeak = Time("bench_roundtrip.exe", "", true).peakMegabytes;
    const double toolSeconds = Median(tool), tripSeconds = Median(trip);
    std::printf("  %-9s %10.4f %10.1f %10.1f  %10.4f %10.1f %7.3f\n",
                size.label, toolSeconds,
                static_cast<double>(size.units) / 1e6 / toolSeconds, toolPeak,
                tripSeconds, tripPeak, toolSeconds / tripSeconds);
    if (!baseline.empty())
      std::printf("  %-9s %10.4f  baseline, ratio %.3f\n", "", Median(baseline),
                  toolSeconds / Median(baseline));
  }
}

// Wine gives no processor times of another process, so they are read from
// the Unix processes' /proc entries through Wine's drive Z:.
std::string ProcFile(const std::string &folder, const char *name) {
  std::ifstream file("Z:\\proc\\" + folder + "\\" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file),
                     std::istreambuf_iterator<char>());
}

// The /proc folders of the processes whose command line names the program.
std::vector<std::string> UnixProcessesOf(const char *program) {
  std::vector<std::string> folders;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE)
    return folders;
  do
    if (entry.cFileName[0] >= '1' && entry.cFileName[0] <= '9' &&
        ProcFile(entry.cFileName, "cmdline").find(program) != std::string::npos)
      folders.emplace_back(entry.cFileName);
  while (FindNextFileA(find, &entry));
  FindClose(find);
  return folders;
}

double ProcessorSeconds(const std::vector<std::string> &folders) {
  const double TicksPerSecond = 100; // Linux's USER_HZ
  double seconds = 0;
  for (const std::string &folder : folders) {
    const std::string stat = ProcFile(folder, "stat");
    // User and system time are the 12th and 13th fields after the name.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    for (int i = 0; i < 11; ++i)
      fields >> field;
    double user = 0, system = 0;
    fields >> user >> system;
    seconds += (user + system) / TicksPerSecond;
  }
  return seconds;
}

// The processor time a run takes, and the Wine server's meanwhile, while a
// window holds the clipboard open for two seconds and then lets go.
void Waiting() {
  std::printf("\nWaiting: processor time while a window holds the clipboard "
              "for 2 s\n");
  Editor editor(Selecting("beta"));
  std::vector<const char *> programs = {"velmora.exe"};
  if (HasBaseline())
    programs.push_back(Baseline);
  for (const char *program : programs) {
    SetClipboardBytes("alpha");
    ClipboardThread holder(HoldClipboardOpen);
    const std::vector<std::string> server = UnixProcessesOf("wineserver");
    const double serverBefore = ProcessorSeconds(server);
    const double start = Now();
    ToolRun run("", program);
    std::vector<std::string> tool;
    double toolSeconds = 0;
    while (run.Running()) {
      if (tool.empty())
        tool = UnixProcessesOf(program);
      toolSeconds = std::max(toolSeconds, ProcessorSeconds(tool));
      if (Now() - start >= 2.0)
        holder.Stop();
      Sleep(50);
    }
    run.Wait();
    const double elapsed = Now() - start;
    const double serverSeconds = ProcessorSeconds(server) - serverBefore;
    std::printf("  %-20s %5.2f s: tool %5.2f s (%5.1f%% of a core), "
                "Wine server %5.2f s\n",
                program, elapsed, toolSeconds, 100 * toolSeconds / elapsed,
                serverSeconds);
  }
}

} // namespace

int main(int argc, char **argv) {
  TakeToolDirectory(argc, argv);
  const int runs = argc > 1 ? std::atoi(argv[1]) : 31;
  RunCost(runs);
  Scale(std::max(3, runs / 6));
  Waiting();
  return 0;
}
