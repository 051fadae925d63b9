#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <vector>

namespace vastel {

// A file-name pattern with the desktop's wildcard rules: case-insensitive (ASCII), "*" any run,
// "?" one character, "*.*" and "*" every name, a trailing "." a name without an extension,
// and ";" between alternatives. An empty pattern matches nothing.
class WildcardPattern {
  public:
    explicit WildcardPattern(const QByteArray& pattern = "*.*");
    bool matchesAll() const { return all_; }
    bool matches(const char* name, qsizetype length) const;
    bool matches(const QByteArray& name) const { return matches(name.constData(), name.size()); }

  private:
    struct Alternative {
        QByteArray glob;  // lower case
        bool noExtension = false;
    };
    std::vector<Alternative> alternatives_;
    bool all_ = false;
};

}  // namespace vastel
