// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimOptions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace tarnwell::sim {
namespace {

bool ToLong(const std::string& text, long low, long high, long& out) {
  long v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || p != end || v < low || v > high) return false;
  out = v;
  return true;
}

bool ToDouble(const std::string& text, double low, double high, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v) || v < low || v > high) return false;
  out = v;
  return true;
}

template <typename E>
bool ToChoice(const std::string& text, const std::map<std::string, E>& choices, E& out) {
  auto it = choices.find(text);
  if (it == choices.end()) return false;
  out = it->second;
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool Unescape(const std::string& text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x': {
        const int hi = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

ParseResult ParseSimOptions(int argc, const char* const argv[], SimOptions& o, std::string& error) {
  using Setter = std::function<bool(const std::string&)>;
  long seed = o.seed;
  const std::map<std::string, Setter> valued = {
      {"--link",
       [&](const std::string& v) {
         o.link = v;
         return !v.empty();
       }},
      {"--baud", [&](const std::string& v) { return ToLong(v, 1200, 921600, o.baud); }},
      {"--frame",
       [&](const std::string& v) {
         return ToChoice<FrameKind>(v, {{"plain", FrameKind::kPlain}, {"fixed", FrameKind::kFixed}},
                                    o.frame);
       }},
      {"--decimals",
       [&](const std::string& v) {
         long d = 0;
         return ToLong(v, 0, 6, d) && ((o.decimals = static_cast<int>(d)), true);
       }},
      {"--width",
       [&](const std::string& v) {
         long w = 0;
         return ToLong(v, 1, 40, w) && ((o.width = static_cast<int>(w)), true);
       }},
      {"--prefix", [&](const std::string& v) { return Unescape(v, o.prefix); }},
      {"--unit",
       [&](const std::string& v) {
         o.unit = v;
         return true;
       }},
      {"--terminator",
       [&](const std::string& v) {
         return ToChoice<Terminator>(
             v, {{"cr", Terminator::kCr}, {"crlf", Terminator::kCrLf}, {"etx", Terminator::kEtx}},
             o.terminator);
       }},
      {"--pattern",
       [&](const std::string& v) {
         return ToChoice<PatternKind>(v,
                                      {{"steady", PatternKind::kSteady},
                                       {"steps", PatternKind::kSteps},
                                       {"plateau", PatternKind::kPlateau},
                                       {"count", PatternKind::kCount}},
                                      o.pattern);
       }},
      {"--value", [&](const std::string& v) { return ToDouble(v, -1e9, 1e9, o.value); }},
      {"--noise", [&](const std::string& v) { return ToDouble(v, 0, 1e9, o.noise); }},
      {"--step", [&](const std::string& v) { return ToDouble(v, -1e9, 1e9, o.step); }},
      {"--levels",
       [&](const std::string& v) {
         long n = 0;
         return ToLong(v, 1, 1000000, n) && ((o.levels = static_cast<int>(n)), true);
       }},
      {"--hold", [&](const std::string& v) { return ToDouble(v, 0.001, 1e6, o.hold); }},
      {"--settle", [&](const std::string& v) { return ToDouble(v, 0, 1e6, o.settle); }},
      {"--rate", [&](const std::string& v) { return ToDouble(v, 0, 1e6, o.rate); }},
      {"--garbage-every",
       [&](const std::string& v) { return ToLong(v, 0, 1000000000, o.garbageEvery); }},
      {"--garbage-len", [&](const std::string& v) { return ToLong(v, 1, 1000000, o.garbageLen); }},
      {"--runaway-after",
       [&](const std::string& v) { return ToLong(v, 0, 1000000000, o.runawayAfter); }},
      {"--runaway-len",
       [&](const std::string& v) { return ToLong(v, 0, 1000000000, o.runawayLen); }},
      {"--count", [&](const std::string& v) { return ToLong(v, 1, 1000000000000, o.count); }},
      {"--duration", [&](const std::string& v) { return ToDouble(v, 0.001, 1e9, o.duration); }},
      {"--seed", [&](const std::string& v) { return ToLong(v, 0, 4294967295, seed); }},
      {"--log",
       [&](const std::string& v) {
         o.log = v;
         return !v.empty();
       }},
      {"--stats",
       [&](const std::string& v) {
         o.stats = v;
         return !v.empty();
       }},
      {"--ready",
       [&](const std::string& v) {
         o.ready = v;
         return !v.empty();
       }},
      {"--unplug-every",
       [&](const std::string& v) { return ToDouble(v, 0.01, 1e6, o.unplugEvery); }},
      {"--unplug-for", [&](const std::string& v) { return ToDouble(v, 0.01, 1e6, o.unplugFor); }},
  };
  const std::map<std::string, bool*> flags = {
      {"--zeros", &o.zeros},        {"--garbage-terms", &o.garbageTerms},
      {"--log-times", &o.logTimes}, {"--stay", &o.stay},
      {"--wait", &o.wait},          {"--flow", &o.flow}};

  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return ParseResult::kHelp;
    if (auto f = flags.find(arg); f != flags.end()) {
      *f->second = true;
      continue;
    }
    std::string value;
    bool inlineValue = false;
    if (auto eq = arg.find('='); eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      inlineValue = true;
    }
    auto it = valued.find(arg);
    if (it == valued.end()) {
      error = "unknown option " + arg;
      return ParseResult::kError;
    }
    if (!inlineValue) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return ParseResult::kError;
      }
      value = argv[++i];
    }
    if (!it->second(value)) {
      error = "bad value for " + arg + ": \"" + value + "\"";
      return ParseResult::kError;
    }
  }
  o.seed = static_cast<std::uint32_t>(seed);
  if (o.link.empty()) {
    error = "--link PATH is required";
    return ParseResult::kError;
  }
  return ParseResult::kRun;
}

std::string SimUsage() {
  return R"(Usage: indicator_sim --link PATH [options]

Plays a weighing indicator on a pseudo-terminal: PATH becomes a link to the
terminal's device, which a reader opens like a serial port. Frames are paced at
the speed given (10 bit times per character) and are written only while some
program has the device open; what a reader leaves unread is gone when it closes.
A reader that stops reading loses frames once the line's buffer is full, as on
a wire: they count as not delivered and are not logged. A pseudo-terminal itself
loses nothing, so a frame begun on it is finished first: none is cut short.

Line
  --link PATH            link to create (its folder is made; a stale link is replaced)
  --baud N               speed in bit/s, 1200 to 921600 (default 9600)
  --rate FPS             frames per second at most; 0 sends back to back (default 0)
  --unplug-every S       pull the device out every S seconds ...
  --unplug-for S         ... for S seconds (default 1), then plug a new one in
  --flow                 while the line is full, wait for room instead, as a program
                         writing to a terminal does: nothing is lost, the time is given up

Frames
  --frame plain|fixed    plain "+ 123.45", or fixed "ST,GS,+  1234.5kg" with status
                         ST (same value as the frame before) or US (default plain)
  --decimals D           digits after the point, 0 to 6; 0 sends no point (default 2)
  --width N              characters of the number after the sign, right-aligned
                         (default 7 plain, 8 fixed)
  --zeros                pad the number with zeros instead of blanks
  --unit TEXT            unit after a fixed frame's number (default kg)
  --prefix TEXT          characters before every frame; \r \n \t \\ \xHH allowed
  --terminator cr|crlf|etx   frame end: CR, CR LF or ETX (code 3) (default cr)

Values
  --pattern steady|steps|plateau|count
                         steady: the value with noise; steps: levels value,
                         value+step, ... each for --hold seconds, with noise;
                         plateau: the same levels held exactly; count: value,
                         then one unit of the last decimal more each frame, so
                         that every frame can be told apart (default steady)
  --value V              base value (default 100)
  --noise A              noise of +-A (default one unit of the last decimal)
  --step S               size of a step (default 50)
  --levels N             levels before starting over (default 4)
  --hold S               seconds per level (default 2)
  --settle S             plateau: noisy seconds after each step before it holds (default 0)
  --seed N               seed of the noise and garbage (default 1)

Faults
  --garbage-every N      a burst of random bytes after every N frames
  --garbage-len L        bytes per burst (default 24)
  --garbage-terms        bursts may hold CR and ETX (by default they hold neither)
  --runaway-after K      after K frames, a run of characters with no terminator ...
  --runaway-len N        ... N characters long; 0 never ends (default 0)

Limits and reports
  --wait                 start when a reader first opens the device: the first
                         frame it gets is the run's first, the clocks start then
  --count N              stop after N frames written to a reader
  --duration S           stop after S seconds
  --stay                 after a limit, keep the line up until a signal; otherwise
                         wait up to 2 s for the reader to take what is buffered
  --log FILE             every frame written whole, one a line, without terminator;
                         backslash and non-printable bytes as \\ and \xHH
  --log-times            each log line starts with the local time of day of its
                         write, in milliseconds, and a TAB
  --stats FILE           counts at exit, one key=value a line
  --ready FILE           written with the link's path once the link exists;
                         "READY PATH" is also printed on standard output
SIGTERM, SIGINT and SIGHUP end the run: the log is flushed and the link removed.
)";
}

}  // namespace tarnwell::sim
