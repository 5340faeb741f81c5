// Generated definition sets and walks of a Windows XP machine, shared by the
// matcher and loader benchmarks: names and folders as the definition server
// writes them, a few "[drive]" rows, and walked paths most of which match
// nothing.
#pragma once

#include <string>
#include <vector>

namespace bastion::bench {

inline const std::vector<std::string>& FileFolderForms() {
    static const std::vector<std::string> forms = {
        "[progfil]Vendor%",        "[windir]system32", "[appdata]Vendor%",  "[progfil]Common Files\\Vendor%",
        "[windir]",                "[comapp]Vendor%",  "[progfil]Vendor%\\bin",
        "[user]Local Settings\\Temp", "",              "[windir]Downloaded Program Files"};
    return forms;
}

inline std::string Fill(const std::string& form, int i) {
    std::string out;
    for (char c : form) {
        if (c == '%') {
            out += std::to_string(i % 700);
        } else {
            out += c;
        }
    }
    return out;
}

inline std::string DefinitionFileName(int i) {
    static const char* const stems[] = {"spy", "adware", "toolbar", "dialer", "hook", "bho", "popup"};
    static const char* const extensions[] = {".dll", ".exe", ".ocx", ".sys", ".dll", ".exe"};
    if (i % 11 == 5) return "longspywarecomponent" + std::to_string(i) + ".exe";
    return std::string(stems[i % 7]) + std::to_string(i) + extensions[i % 6];
}

// NAME=THREAT|FOLDER|TYPE, tokens unexpanded; without a type, NAME=THREAT|FOLDER
// (then a row is longer than its line).
inline std::vector<std::string> FileDefinitionLines(int count, bool typed = true) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string folder = i % 1000 == 999 ? "[drive]" : Fill(FileFolderForms()[static_cast<std::size_t>(i) % 10], i);
        lines.push_back(DefinitionFileName(i) + "=Threat " + std::to_string(i) + "|" + folder +
                        (typed ? (i % 3 == 0 ? "|TYPE" : "|Adware") : ""));
    }
    return lines;
}

inline std::string DefinitionDirectory(int i) {
    switch (i % 5) {
        case 0: return "[progfil]Vendor" + std::to_string(i);
        case 1: return "[appdata]Vendor" + std::to_string(i);
        case 2: return "[progfil]Common Files\\Vendor" + std::to_string(i);
        case 3: return i % 200 == 3 ? "[drive]\\Vendor" + std::to_string(i) : "[windir]Vendor" + std::to_string(i);
        default: return "[comapp]Vendor" + std::to_string(i) + "\\Data";
    }
}

inline std::vector<std::string> DirectoryDefinitionLines(int count, bool typed = true) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        lines.push_back("Vendor " + std::to_string(i) + "=Threat " + std::to_string(i) + "|" + DefinitionDirectory(i) +
                        (typed ? "|Adware" : ""));
    }
    return lines;
}

// NAME=TEXT|FOLDER, as "ExeDefinition.dat" holds them.
inline std::vector<std::string> ExeDefinitionLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        lines.push_back("agent" + std::to_string(i) + ".exe=Threat " + std::to_string(i) + "|" +
                        Fill(FileFolderForms()[static_cast<std::size_t>(i) % 10], i));
    }
    return lines;
}

// Walked paths: about 97 in 100 ordinary files; the rest carry a definition's
// name, half of them at the place it names.
inline std::vector<std::string> WalkedFiles(int definitions, int count) {
    static const char* const ordinary[] = {
        "C:\\WINDOWS\\system32\\kernel32.dll",           "C:\\WINDOWS\\system32\\drivers\\etc\\hosts",
        "C:\\Program Files\\Common Files\\System\\ado\\msado15.dll", "C:\\Documents and Settings\\User\\My Documents\\letter.doc",
        "C:\\WINDOWS\\Fonts\\arial.ttf",                 "C:\\Program Files\\Internet Explorer\\iexplore.exe",
        "C:\\WINDOWS\\Help\\windows.chm",                "D:\\Photos\\2006\\holiday\\img_0042.jpg"};
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        if (i % 33 == 7) {
            const int d = (i * 7919) % definitions;
            paths.push_back((i % 2 ? "C:\\Program Files\\Vendor" + std::to_string(d % 700) + "\\"
                                   : "C:\\Temp\\Downloads\\") +
                            DefinitionFileName(d));
        } else {
            std::string path = ordinary[i % 8];
            const std::size_t dot = path.rfind('.');
            path.insert(dot == std::string::npos ? path.size() : dot, std::to_string(i));
            paths.push_back(path);
        }
    }
    return paths;
}

inline std::vector<std::string> WalkedFolders(int definitions, int count) {
    static const char* const ordinary[] = {"C:\\WINDOWS\\system32\\",   "C:\\Program Files\\Common Files\\",
                                           "C:\\Documents and Settings\\User\\", "D:\\Photos\\2006\\",
                                           "C:\\WINDOWS\\Help\\",       "C:\\Program Files\\Internet Explorer\\"};
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        if (i % 33 == 7) {
            paths.push_back("C:\\Program Files\\Vendor" + std::to_string((i * 7919) % definitions) + "\\");
        } else {
            paths.push_back(std::string(ordinary[i % 6]) + "Folder" + std::to_string(i) + "\\");
        }
    }
    return paths;
}

// A safety list of the usual size.
inline std::vector<std::string> UsualSafetyEntries() {
    std::vector<std::string> safe;
    for (int i = 0; i < 300; ++i) safe.push_back("C:\\WINDOWS\\system32\\good" + std::to_string(i) + ".dll");
    return safe;
}

}  // namespace bastion::bench
