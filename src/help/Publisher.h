#pragma once

#include <QString>

#include <array>

// The contact lines and home page shown in the about dialog, from the top: name, street,
// postcode and town, telephone, fax, e-mail. Placeholders of the project, under the reserved
// example domain, until a publisher is named.
namespace Publisher {

using ContactLines = std::array<QString, 6>;

inline const ContactLines Support = {
    QStringLiteral("Virelo-Projekt"),    QStringLiteral("Musterstraße 1"),
    QStringLiteral("12345 Musterstadt"), QStringLiteral("Tel. 01234 567890"),
    QStringLiteral("Fax 01234 567891"),  QStringLiteral("support@virelo.example")};

inline const ContactLines Vertrieb = {
    QStringLiteral("Virelo Vertrieb"),   QStringLiteral("Beispielweg 2"),
    QStringLiteral("12345 Musterstadt"), QStringLiteral("Tel. 01234 567892"),
    QStringLiteral("Fax 01234 567893"),  QStringLiteral("vertrieb@virelo.example")};

inline const QString HomePage = QStringLiteral("https://www.virelo.example/");

} // namespace Publisher
