#include "help/DesktopExec.h"

#include <utility>

namespace {

bool separatesArguments(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool escapableInQuotes(QChar c) {
    return c == u'"' || c == u'`' || c == u'$' || c == u'\\';
}

} // namespace

std::optional<QStringList> splitDesktopExec(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < exec.size() && escapableInQuotes(exec[i + 1]))
                current += exec[++i];
            else
                current += c;
        } else if (separatesArguments(c)) {
            if (inArgument)
                arguments.append(std::exchange(current, QString()));
            inArgument = false;
        } else {
            inArgument = true;
            if (c == u'"')
                quoted = true;
            else
                current += c;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArgument)
        arguments.append(current);
    if (arguments.isEmpty())
        return std::nullopt;
    return arguments;
}

QStringList expandFieldCodes(const QStringList& arguments, const QString& address) {
    QStringList expanded;
    bool addressGiven = false;
    for (const QString& argument : arguments) {
        QString result;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != u'%' || i + 1 == argument.size()) {
                result += argument[i];
                continue;
            }
            const QChar code = argument[++i];
            if (code == u'%') {
                result += u'%';
            } else if (code == u'u' || code == u'U') {
                result += address;
                addressGiven = true;
            }
        }
        if (!result.isEmpty() || argument.isEmpty())
            expanded.append(result);
    }
    if (!addressGiven)
        expanded.append(address);
    return expanded;
}
