#include "check/disc_name_findings.h"

#include <cstdio>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "check/ini_text.h"
#include "check/joliet_names.h"

namespace fs = std::filesystem;

namespace {

struct DiscPath {
    std::vector<std::u16string> names;  // from the disc's root down
    std::vector<bool> readable;         // each name is text (UTF-8 where names are bytes)
};

// A path relative to the disc's root, name by name. Where names are bytes,
// a name that is not UTF-8 cannot be converted, and the image writes "_"
// for what it cannot read.
DiscPath PathOf(const fs::path& relative) {
    DiscPath path;
    for (const fs::path& part : relative) {
        if (part == ".") continue;
        try {
            path.names.push_back(part.u16string());
            path.readable.push_back(true);
        } catch (const std::exception&) {
            // Shown byte by byte, as Latin-1.
            std::u16string bytes;
            for (const char byte : part.string()) bytes.push_back(static_cast<unsigned char>(byte));
            path.names.push_back(bytes);
            path.readable.push_back(false);
        }
    }
    return path;
}

// What a key names, as it will be on the disc: the file found, or the path
// as written when the disc build adds it; false when it is not there at all.
bool NeededPath(const DiscFolder& disc, const std::u16string& written, DiscPath* path) {
    const std::string narrow = Narrow(written);
    const fs::path found = disc.Find(narrow);
    if (!found.empty()) {
        const fs::path relative = found.lexically_normal().lexically_relative(disc.Root().lexically_normal());
        if (relative.empty() || *relative.begin() == "..") return false;
        *path = PathOf(relative);
        return true;
    }
    if (!disc.AddedByBuild(narrow)) return false;
    *path = DiscPath{};
    std::u16string name;
    for (size_t i = 0; i <= written.size(); ++i) {
        if (i < written.size() && written[i] != u'\\' && written[i] != u'/') {
            name.push_back(written[i]);
            continue;
        }
        if (name == u"..") {
            if (!path->names.empty()) path->names.pop_back();
        } else if (!name.empty() && name != u".") {
            path->names.push_back(name);
        }
        path->readable.assign(path->names.size(), true);
        name.clear();
    }
    return true;
}

// The first `count` names, folded, as a key of the set of covered paths.
std::u16string FoldedKey(const std::vector<std::u16string>& names, size_t count) {
    std::u16string key;
    for (size_t i = 0; i < count && i < names.size(); ++i) key += (i > 0 ? u"/" : u"") + Fold(names[i]);
    return key;
}

// With backslashes, as install.ini writes disc paths; each name converted
// apart, since a whole path may be longer than a narrow text holds.
std::string Shown(const std::vector<std::u16string>& names) {
    std::string shown;
    for (const std::u16string& name : names) shown += (shown.empty() ? "" : "\\") + Narrow(name);
    return shown;
}

// Printable characters as themselves, the others as U+XXXX.
std::string CharactersShown(const std::u16string& characters) {
    std::string shown;
    for (size_t i = 0; i < characters.size(); ++i) {
        uint32_t code = characters[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < characters.size()) {
            code = 0x10000 + ((code - 0xD800) << 10) + (characters[i + 1] - 0xDC00);
            ++i;
        }
        char text[16];
        if (code > 0x20 && code < 0x7F) {
            std::snprintf(text, sizeof text, "%c", static_cast<char>(code));
        } else {
            std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
        }
        shown += (shown.empty() ? "" : " ") + std::string(text);
    }
    return shown;
}

struct Change {
    std::string what;  // empty when the image keeps the name
    std::string hint;
};

Change NameChange(const std::u16string& name, bool readable) {
    const std::string shown = Narrow(name);
    if (!readable) {
        return {"the name " + shown + " is not UTF-8 text, and the disc image writes _ for what it cannot read",
                "rename it"};
    }
    const JolietName joliet = JolietNameOf(name);
    if (!joliet.refused.empty()) {
        return {"the name " + shown + " has characters that Joliet names cannot hold (" +
                    CharactersShown(joliet.refused) + "), and the disc image writes _ for each",
                "rename it without * / : ; ? \\, control characters or characters beyond U+FFFF"};
    }
    if (joliet.Cut()) {
        return {"the name " + shown + " is " + std::to_string(joliet.length) +
                    " characters long, and a Joliet name holds at most " + std::to_string(kJolietNameLength) +
                    ": the disc image cuts it",
                "shorten it to " + std::to_string(kJolietNameLength) + " characters or fewer"};
    }
    return {};
}

Change PathChange(const std::vector<std::u16string>& names, bool folder) {
    const size_t bytes = JolietPathBytes(names);
    if (bytes < kJolietPathRoom) return {};
    return {"the path takes " + std::to_string(bytes) +
                " bytes in the Joliet tree (2 for each character of its names and 1 for each name), and xorriso "
                "leaves out of that tree every path of " +
                std::to_string(kJolietPathRoom) + " bytes or more" + (folder ? ", with all the folder holds" : ""),
            "shorten the names of its folders, or move it nearer the disc's root"};
}

// The first change along the path, from the root down.
Change FirstChange(const DiscPath& path) {
    for (size_t i = 0; i < path.names.size(); ++i) {
        const Change change = NameChange(path.names[i], path.readable[i]);
        if (!change.what.empty()) return change;
    }
    return PathChange(path.names, false);
}

}  // namespace

void CheckDiscNames(CheckContext& check) {
    // Every folder and file along a needed path, reported at the key alone.
    std::set<std::u16string> covered;
    for (const DiscNeed& need : check.needs) {
        DiscPath path;
        if (!NeededPath(check.disc, need.path, &path)) continue;
        for (size_t count = 1; count <= path.names.size(); ++count) covered.insert(FoldedKey(path.names, count));
        const Change change = FirstChange(path);
        if (change.what.empty()) continue;
        check.Report(Severity::kError, need.file, need.line,
                     need.key + Narrow(need.path) + " does not reach the burned disc as written: " + change.what,
                     change.hint);
    }

    const fs::path root = check.disc.Root();
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        const fs::path relative = it->path().lexically_relative(root);
        if (it.depth() == 0 && relative == kBuildAddsFile) continue;
        const DiscPath path = PathOf(relative);
        if (path.names.empty()) continue;
        std::error_code ignored;
        const bool folder = it->is_directory(ignored);
        const Change pathChange = PathChange(path.names, folder);
        // Nothing below a folder left out of the tree reaches the disc either.
        if (!pathChange.what.empty() && folder) it.disable_recursion_pending();
        if (covered.count(FoldedKey(path.names, path.names.size())) != 0) continue;
        const std::string shown = Shown(path.names);
        const Change nameChange = NameChange(path.names.back(), path.readable.back());
        if (!nameChange.what.empty()) check.Report(Severity::kWarning, shown, 0, nameChange.what, nameChange.hint);
        if (!pathChange.what.empty()) check.Report(Severity::kWarning, shown, 0, pathChange.what, pathChange.hint);
    }
}
