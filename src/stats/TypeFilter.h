#pragma once

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace vastel {

// The file-type filter of a statistics run (isThisSelected): all files, only the listed types,
// or all files except the listed types. The types are lines "pattern<TAB>description" as the
// wizard lists them; a file matches a line when its extension equals the pattern's text from
// its second character, both compared in lower case.
struct TypeFilter {
    bool allTypes = true;
    bool includeTypes = false;
    bool excludeTypes = false;
    QStringList types;  // PickList2

    // Lines from plain patterns ("*.doc;*.txt"), as vastel-scan takes them.
    static QStringList linesOfPatterns(const QString& patterns);
};

// The filter made ready for the hot loop: the listed extensions as lower-case bytes.
class TypeMatcher {
  public:
    explicit TypeMatcher(const TypeFilter& filter);
    bool isThisSelected(const QByteArray& name) const;

  private:
    bool all_;
    bool include_;
    bool exclude_;
    std::vector<QByteArray> extensions_;
};

}  // namespace vastel
