#include "Options.h"

#include <cstring>
#include <map>

const char kUsage[] =
    "usage: kvhost COMMAND PLUGIN ARGUMENTS [OPTIONS]\n"
    "  list PLUGIN FOLDER       every file of FOLDER the plug-in accepts, one row each\n"
    "      -r, --recursive          also the files of its subfolders\n"
    "      --sort COLUMN [--desc]   order by a column (its title or number)\n"
    "      --columns C1,C2,...      only these columns, in this order (titles or numbers)\n"
    "      --width N                fit the table into N columns (0: cut nothing)\n"
    "      --csv [--bom] | --json   UTF-8 CSV (--bom: with a byte-order mark) or JSON instead of a table\n"
    "      -v, --verbose            also name every file the plug-in refused and why\n"
    "      --bench [--rounds N]     time the plug-in against plain reading of the files\n"
    "  info PLUGIN FILE         the plug-in's strings, the file's row, information text and comment\n"
    "  picture PLUGIN FILE -o OUT.png|OUT.bmp    the picture of a shot\n"
    "  picture PLUGIN FOLDER -o OUTFOLDER [--bmp] [-r]   every shot of a folder\n"
    "      --force                  write over existing pictures\n"
    "  edit PLUGIN FILE         the comment editor of a replay plug-in\n"
    "  columns PLUGIN           the plug-in's column table\n"
    "  about PLUGIN             the plug-in's strings and exports\n"
    "  --version                kvhost's version\n"
    "  --help                   this text\n"
    "PLUGIN is a .kvp file, the name of one beside kvhost, or --all for every one of them.\n"
    "Exit codes: 0 done, 1 failed or nothing to do (one line on the error stream), 2 wrong command line.\n";

namespace {

struct OptionRule {
    const char* name;
    const char* shortName;
    bool takesValue;
    const char* commands;  // where it applies; nullptr: everywhere
};

const OptionRule kRules[] = {
    {"--help", "-h", false, nullptr},
    {"--version", nullptr, false, nullptr},
    {"--all", nullptr, false, nullptr},
    {"--recursive", "-r", false, " list picture "},
    {"--sort", nullptr, true, " list "},
    {"--desc", nullptr, false, " list "},
    {"--columns", nullptr, true, " list "},
    {"--width", nullptr, true, " list "},
    {"--csv", nullptr, false, " list "},
    {"--bom", nullptr, false, " list "},
    {"--json", nullptr, false, " list "},
    {"--verbose", "-v", false, " list "},
    {"--bench", nullptr, false, " list "},
    {"--rounds", nullptr, true, " list "},
    {"--output", "-o", true, " picture "},
    {"--bmp", nullptr, false, " picture "},
    {"--force", nullptr, false, " picture "},
};

const OptionRule* RuleOf(const std::string& arg)
{
    for (const OptionRule& rule : kRules)
        if (arg == rule.name || (rule.shortName && arg == rule.shortName)) return &rule;
    return nullptr;
}

// Arguments after the plug-in, by command; picture takes OUT as -o or as a
// second argument.
bool ArgumentsWanted(const std::string& command, bool output, size_t& wanted)
{
    static const std::map<std::string, size_t> kArguments = {{"list", 1},    {"info", 1},    {"edit", 1},
                                                              {"picture", 2}, {"columns", 0}, {"about", 0}};
    const auto found = kArguments.find(command);
    if (found == kArguments.end()) return false;
    wanted = found->second - (command == "picture" && output ? 1 : 0);
    return true;
}

bool ReadNumber(const std::string& text, long lowest, long highest, long& number)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    number = std::stol(text);
    return number >= lowest && number <= highest;
}

class Checker {
public:
    Checker(const std::map<std::string, std::string>& given, std::string& error) : m_given(given), m_error(error) {}

    bool Has(const char* name) const { return m_given.count(name) != 0; }
    // The option as the user wrote it.
    const std::string& Written(const char* name) const { return m_given.at(name); }

    // `option` only together with `needed`.
    bool Needs(const char* option, const char* needed)
    {
        if (!Has(option) || Has(needed)) return true;
        m_error = Written(option) + " applies only with " + needed;
        return false;
    }
    bool Excludes(const char* a, const char* b, const std::string& why = "")
    {
        if (!Has(a) || !Has(b)) return true;
        m_error = why.empty() ? Written(a) + " and " + Written(b) + " exclude each other" : why;
        return false;
    }

private:
    const std::map<std::string, std::string>& m_given;
    std::string& m_error;
};

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error)
{
    std::map<std::string, std::string> given;  // rule name -> as written
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (options.command.empty()) options.command = arg;
            else options.positional.push_back(arg);
            continue;
        }
        const OptionRule* rule = RuleOf(arg);
        if (!rule) {
            error = "unknown option " + arg;
            return false;
        }
        if (!given.emplace(rule->name, arg).second) {
            error = arg + " given twice";
            return false;
        }
        std::string value;
        if (rule->takesValue) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            value = args[++i];
        }
        const std::string name = rule->name;
        long number = 0;
        if (name == "--help") options.help = true;
        else if (name == "--version") options.version = true;
        else if (name == "--all") options.all = true;
        else if (name == "--recursive") options.recursive = true;
        else if (name == "--sort") options.sort = value;
        else if (name == "--desc") options.descending = true;
        else if (name == "--columns") options.columns = value;
        else if (name == "--csv") options.csv = true;
        else if (name == "--bom") options.bom = true;
        else if (name == "--json") options.json = true;
        else if (name == "--verbose") options.verbose = true;
        else if (name == "--bench") options.bench = true;
        else if (name == "--output") options.output = value;
        else if (name == "--bmp") options.bmp = true;
        else if (name == "--force") options.force = true;
        else if (name == "--width") {
            if (!ReadNumber(value, 0, 100000, number) || (number > 0 && number < 20)) {
                error = arg + " wants 0 or a number of columns from 20";
                return false;
            }
            options.width = number;
        } else if (name == "--rounds") {
            if (!ReadNumber(value, 1, 1000, number)) {
                error = arg + " wants a number from 1 to 1000";
                return false;
            }
            options.rounds = int(number);
        }
    }
    if (options.help || options.version) return true;

    const std::string& command = options.command;
    size_t wanted = 0;
    if (command.empty()) {
        error = "no command";
        return false;
    }
    if (!ArgumentsWanted(command, !options.output.empty(), wanted)) {
        error = "unknown command " + command;
        return false;
    }
    for (const auto& [name, written] : given) {
        const char* commands = RuleOf(name)->commands;
        if (commands && !std::strstr(commands, (" " + command + " ").c_str())) {
            error = written + " does not apply to " + command;
            return false;
        }
    }
    const size_t plugin = options.all ? 0 : 1;
    if (options.positional.size() < plugin) {
        error = "no plug-in named";
        return false;
    }
    if (options.positional.size() != plugin + wanted) {
        error = "wrong number of arguments for " + command;
        return false;
    }

    Checker check(given, error);
    if (!check.Needs("--desc", "--sort") || !check.Needs("--rounds", "--bench") || !check.Needs("--bom", "--csv") ||
        !check.Excludes("--csv", "--json") || !check.Excludes("--all", "--csv", "--csv lists one plug-in at a time") ||
        !check.Excludes("--width", "--csv", "--width applies to the table, not to --csv") ||
        !check.Excludes("--width", "--json", "--width applies to the table, not to --json"))
        return false;
    for (const char* name : {"--sort", "--desc", "--columns", "--width", "--csv", "--bom", "--json", "--verbose"})
        if (!check.Excludes("--bench", name, check.Has(name) ? check.Written(name) + " does not apply to --bench" : ""))
            return false;
    return true;
}
