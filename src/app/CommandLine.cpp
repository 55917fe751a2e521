#include "app/CommandLine.h"

#include "base/Translate.h"
#include "qt/DrawingExport.h"

#include <cctype>
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

bool EndsWithPdf(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& ch : ext)
        ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return ext == ".pdf";
}

bool ParseInteger(const std::string& s, int& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size();
}

bool ParsePositive(const std::string& s, int& v) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && p == s.data() + s.size() && v > 0;
}

TCommandLine Usage(std::string error) {
    TCommandLine c;
    c.Job = TCommandLine::TJob::Usage;
    c.Error = std::move(error);
    return c;
}

} // namespace

std::string UsageText() {
    return _("Usage:\n"
             "  korvane-viewer [FILE]\n"
             "  korvane-viewer --render OUT [--size WxH] [--background black|white]\n"
             "                 [--group-mode main|none1|sub|none2] [--sheet N] FILE\n"
             "  korvane-viewer --dump FILE\n"
             "  korvane-viewer --datasheet FILE HANDLE\n"
             "  korvane-viewer --print OUT.pdf FILE\n"
             "  korvane-viewer --bom [--units metric|imperial] [--csv] FILE\n"
             "  korvane-viewer --help | --version\n"
             "\n"
             "FILE is a schematic (.kdf), a symbol (.sym), a ZIP package (.zip) or a packed drawing\n"
             "archive (.kdx). Without an option the viewer window opens it; a viewer already running\n"
             "takes it over.\n"
             "\n"
             "Options:\n"
             "  --render OUT      draw FILE as the window shows it after opening, into a PNG picture,\n"
             "                    or a PDF or SVG file with lines and texts as vectors (OUT.png,\n"
             "                    OUT.pdf, OUT.svg)\n"
             "  --size WxH        the picture's size in pixels (default 1024x768)\n"
             "  --background      black (default) or white\n"
             "  --group-mode      how groups are drawn (default: as the file says):\n"
             "                      main   in the colours of their main groups\n"
             "                      none1  without group colours (the step after main)\n"
             "                      sub    in the colours of their sub groups\n"
             "                      none2  without group colours (the step after sub)\n"
             "  --sheet N         draw sheet N alone (numbered from 1, as the window lists them)\n"
             "  --dump            print the opened document as JSON\n"
             "  --datasheet       look up the datasheets of the component with that handle as\n"
             "                    \"Show Datasheet...\" does, and print the path of each one found\n"
             "  --print OUT.pdf   print the pages of a packed drawing archive's print preview into a\n"
             "                    PDF file\n"
             "  --bom             print the bill of materials, one row per record of each component\n"
             "                    (tab-separated text, or CSV with --csv)\n"
             "  --units           metric or imperial values for --bom (default: as the window shows them)\n"
             "  --help            this text\n"
             "  --version         the program's version\n"
             "\n"
             "Exit status: 0 done; 1 FILE could not be opened, or has no such sheet, no datasheet or no\n"
             "print pages; 2 wrong usage.\n");
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine c;
    bool render = false, dump = false, dataSheet = false, print = false, bom = false;
    std::string handle;
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
        } else if (a == "--bom") {
            bom = true;
        } else if (a == "--csv") {
            c.Csv = true;
        } else if (a == "--units") {
            std::string s;
            if (!next(s) || (s != "metric" && s != "imperial"))
                return Usage(_("--units is metric or imperial"));
            c.MetricUnits = s == "metric";
        } else if (a == "--datasheet") {
            dataSheet = true;
            std::string file;
            if (!next(file) || !next(handle))
                return Usage(_("--datasheet needs a FILE and a component HANDLE"));
            files.push_back(file);
        } else if (a == "--print") {
            print = true;
            if (!next(c.OutPdf)) return Usage(_("--print needs the name of the PDF file to write"));
        } else if (a == "--render") {
            render = true;
            if (!next(c.OutPng)) return Usage(_("--render needs the name of the file to write"));
        } else if (a == "--size") {
            std::string s;
            if (!next(s) || !ParseSize(s, c.Width, c.Height))
                return Usage(_("--size needs WIDTHxHEIGHT, e.g. 1024x768"));
        } else if (a == "--background") {
            std::string s;
            if (!next(s) || (s != "black" && s != "white")) return Usage(_("--background is black or white"));
            c.WhiteBackground = s == "white";
        } else if (a == "--sheet") {
            std::string s;
            int n = 0;
            if (!next(s) || !ParsePositive(s, n)) return Usage(_("--sheet needs a sheet number: 1, 2, ..."));
            c.Sheet = n;
        } else if (a == "--group-mode") {
            std::string s;
            if (!next(s)) return Usage(_("--group-mode is main, none1, sub or none2"));
            if (s == "main")
                c.GroupMode = drawMainGroups;
            else if (s == "none1")
                c.GroupMode = drawNoGroups1;
            else if (s == "sub")
                c.GroupMode = drawSubGroups;
            else if (s == "none2")
                c.GroupMode = drawNoGroups2;
            else
                return Usage(_("--group-mode is main, none1, sub or none2"));
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            return Usage(FormatText(_("unknown option %s"), {a}));
        } else {
            files.push_back(a);
        }
    }
    if (int(render) + int(dump) + int(dataSheet) + int(print) + int(bom) > 1)
        return Usage(_("--render, --dump, --datasheet, --print and --bom cannot be combined"));
    if ((c.Csv || c.MetricUnits) && !bom) return Usage(_("--csv and --units go with --bom"));
    if (dataSheet && !ParseInteger(handle, c.Handle)) return Usage(_("--datasheet needs a number as HANDLE"));
    if (print && !EndsWithPdf(c.OutPdf))
        return Usage(_("--print writes a PDF file: the name must end in .pdf"));
    if (c.Sheet && !render) return Usage(_("--sheet goes with --render"));
    // The name says the format: PNG data under another name would mislead whoever opens it.
    if (render && !ExportFormatOf(c.OutPng))
        return Usage(_("--render writes PNG, PDF or SVG files: the name must end in .png, .pdf or .svg"));
    if (files.size() > 1) return Usage(_("only one file can be given"));
    if ((render || dump || print || bom) && files.empty()) return Usage(_("no file given"));
    if (!files.empty()) c.File = files.front();
    c.Job = render      ? TCommandLine::TJob::Render
            : dump      ? TCommandLine::TJob::Dump
            : dataSheet ? TCommandLine::TJob::DataSheet
            : print     ? TCommandLine::TJob::Print
            : bom       ? TCommandLine::TJob::Bom
                        : TCommandLine::TJob::Window;
    return c;
}
