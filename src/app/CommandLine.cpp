#include "app/CommandLine.h"

#include <charconv>

namespace {

bool ParseSize(const std::string& s, int& w, int& h) {
    size_t x = s.find('x');
    if (x == std::string::npos) return false;
    auto parse = [](std::string_view t, int& v) {
        auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        return ec == std::errc() && p == t.data() + t.size() && v > 0 && v <= 16384;
    };
    return parse(std::string_view(s).substr(0, x), w) && parse(std::string_view(s).substr(x + 1), h);
}

TCommandLine Usage(std::string error) {
    TCommandLine c;
    c.Job = TCommandLine::TJob::Usage;
    c.Error = std::move(error);
    return c;
}

} // namespace

const char* UsageText() {
    return "Usage:\n"
           "  korvane-viewer [FILE]\n"
           "  korvane-viewer --render OUT.png [--size WxH] [--background black|white]\n"
           "                 [--group-mode main|none1|sub|none2] FILE\n"
           "  korvane-viewer --dump FILE\n"
           "  korvane-viewer --help | --version\n";
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine c;
    bool render = false, dump = false;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto next = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            c.Job = TCommandLine::TJob::Help;
            return c;
        } else if (a == "--version") {
            c.Job = TCommandLine::TJob::Version;
            return c;
        } else if (a == "--dump") {
            dump = true;
        } else if (a == "--render") {
            render = true;
            if (!next(c.OutPng)) return Usage("--render needs the name of the PNG file to write");
        } else if (a == "--size") {
            std::string s;
            if (!next(s) || !ParseSize(s, c.Width, c.Height))
                return Usage("--size needs WIDTHxHEIGHT, e.g. 1024x768");
        } else if (a == "--background") {
            std::string s;
            if (!next(s) || (s != "black" && s != "white")) return Usage("--background is black or white");
            c.WhiteBackground = s == "white";
        } else if (a == "--group-mode") {
            std::string s;
            if (!next(s)) return Usage("--group-mode is main, none1, sub or none2");
            if (s == "main")
                c.GroupMode = drawMainGroups;
            else if (s == "none1")
                c.GroupMode = drawNoGroups1;
            else if (s == "sub")
                c.GroupMode = drawSubGroups;
            else if (s == "none2")
                c.GroupMode = drawNoGroups2;
            else
                return Usage("--group-mode is main, none1, sub or none2");
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return Usage("unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (render && dump) return Usage("--render and --dump cannot be combined");
    if (files.size() > 1) return Usage("only one file can be given");
    if ((render || dump) && files.empty()) return Usage("no file given");
    if (!files.empty()) c.File = files.front();
    c.Job = render ? TCommandLine::TJob::Render
            : dump ? TCommandLine::TJob::Dump
                   : TCommandLine::TJob::Window;
    return c;
}
