#include "core/FieldEscape.h"

namespace vastel {

void appendEscapedField(QByteArray& line, const QByteArray& field) {
    for (const char c : field) {
        switch (c) {
            case '\\':
                line.append("\\\\", 2);
                break;
            case '\t':
                line.append("\\t", 2);
                break;
            case '\r':
                line.append("\\r", 2);
                break;
            case '\n':
                line.append("\\n", 2);
                break;
            default:
                line.append(c);
        }
    }
}

QByteArray escapeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size() + 8);
    appendEscapedField(out, field);
    return out;
}

}  // namespace vastel
