#include "protect/RegistryFolderScan.h"

#include "platform/DirEntry.h"
#include "platform/Paths.h"
#include "platform/Volumes.h"
#include "protect/FolderEntry.h"

#include <QFile>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vastel {

struct RegistryFolderScan::Key {
    enum class Kind { MachineRoot, Packages, Package, Folder, File };
    Kind kind;
    QByteArray path;
};

namespace {

// The text of a key file; nullopt when it cannot be read, is larger than the limit or binary.
std::optional<QByteArray> readKeyFile(const QByteArray& path, qint64 limit) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) return std::nullopt;
    QByteArray text;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, qsizetype(in.gcount()));
        if (text.size() > limit) return std::nullopt;
    }
    if (in.bad() || text.contains('\0')) return std::nullopt;
    return text;
}

QByteArray trimmedBlanks(const QByteArray& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.mid(start, end - start);
}

}  // namespace

RegistryFolderScan::RegistryFolderScan(RegistryBranches branches) : branches_(std::move(branches)) {
    if (branches_.userConfig.isEmpty()) branches_.userConfig = QFile::encodeName(configHome());
}

std::optional<QByteArray> RegistryFolderScan::folderReference(const QByteArray& value) {
    if (value.size() <= 1 || value[0] != '/' || value.contains(':')) return std::nullopt;
    return value.left(value.lastIndexOf('/') + 1);
}

QByteArrayList RegistryFolderScan::nameValueValues(const QByteArray& text) {
    QByteArrayList values;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const QByteArray trimmed = trimmedBlanks(line);
        if (trimmed.startsWith('#') || trimmed.startsWith(';')) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        QByteArray value = trimmedBlanks(line.mid(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.mid(1, value.size() - 2);
        values.append(value);
    }
    return values;
}

void RegistryFolderScan::run(RegistryFolderSink& sink) {
    sink_ = &sink;
    keysVisited = valuesRead = filesSkipped = 0;
    refused_.clear();
    if (!isRemovable) {
        const std::vector<Volume> volumes = mountedVolumes();
        isRemovable = [volumes](const QByteArray& folder) {
            const Volume* v = volumeOf(folder, volumes);
            return v && v->type == DriveType::Removable;
        };
    }
    if (!folderExists) {
        folderExists = [](const QByteArray& folder) {
            std::error_code error;
            return std::filesystem::is_directory(folder.toStdString(), error);
        };
    }
    depth_ = 0;
    findpaths({Key::Kind::MachineRoot, {}});
    depth_ = 0;
    findpaths({Key::Kind::Folder, branches_.userConfig});
    sink_ = nullptr;
}

bool RegistryFolderScan::subKeys(const Key& key, std::vector<Key>* out) {
    out->clear();
    if (key.kind == Key::Kind::MachineRoot) {
        out->push_back({Key::Kind::Packages, branches_.packageLists});
        out->push_back({Key::Kind::Folder, branches_.machineEtc});
        return true;
    }
    if (key.kind != Key::Kind::Packages && key.kind != Key::Kind::Folder) return false;
    bool ok = false;
    const std::vector<DirEntry> entries = listDirectory(key.path, &ok);
    if (!ok && entries.empty()) return false;
    for (const DirEntry& e : entries) {
        const QByteArray child = key.path + '/' + e.name;
        if (key.kind == Key::Kind::Packages) {
            if (e.isRegular() && e.name.endsWith(".list"))
                out->push_back({Key::Kind::Package, child});
        } else if (e.isDirectory()) {
            out->push_back({Key::Kind::Folder, child});
        } else if (e.isRegular()) {
            if (e.size > kMaxKeyFileSize)
                ++filesSkipped;
            else
                out->push_back({Key::Kind::File, child});
        }
    }
    return true;
}

void RegistryFolderScan::readValues(const Key& key) {
    if (key.kind != Key::Kind::Package && key.kind != Key::Kind::File) return;
    const std::optional<QByteArray> text = readKeyFile(key.path, kMaxKeyFileSize);
    if (!text) {
        ++filesSkipped;
        return;
    }
    if (key.kind == Key::Kind::File) {
        for (const QByteArray& value : nameValueValues(*text)) consider(value);
        return;
    }
    qsizetype start = 0;
    while (start < text->size()) {
        qsizetype end = text->indexOf('\n', start);
        if (end < 0) end = text->size();
        qsizetype stop = end;
        if (stop > start && text->at(stop - 1) == '\r') --stop;
        consider(text->mid(start, stop - start));
        start = end + 1;
    }
}

void RegistryFolderScan::consider(const QByteArray& value) {
    if ((++valuesRead & 511) == 0) sink_->tick();
    const std::optional<QByteArray> reference = folderReference(value);
    if (!reference) return;
    const QByteArray folder = normalisedFolder(*reference);
    if (sink_->listed(folder) || refused_.contains(folder)) return;
    if (!folderExists(folder) || isRemovable(folder)) {
        refused_.insert(folder);
        return;
    }
    sink_->add(folder);
}

void RegistryFolderScan::findpaths(const Key& key) {
    ++depth_;
    if (depth_ > kMaxDepth) {
        --depth_;
        return;
    }
    std::vector<Key> children;
    if (!subKeys(key, &children)) {
        --depth_;
        return;
    }
    ++keysVisited;
    sink_->tick();
    for (const Key& child : children) {
        readValues(child);
        if (child.kind != Key::Kind::Package && child.kind != Key::Kind::File) findpaths(child);
    }
    --depth_;
}

}  // namespace vastel
