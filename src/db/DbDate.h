#pragma once
// Dates as the database stores them: ISO text, "YYYY-MM-DD" for a date alone
// or "YYYY-MM-DD HH:MM:SS" when a time is known, so that text order is time
// order.

#include <QString>

class QDate;
class QDateTime;
class QVariant;

namespace DbDate {

QString Text(const QDate& d);
QString Text(const QDateTime& dt);
// A stored date read back (either form, also with "T" between date and time);
// a date alone reads as midnight. Invalid when the value is not such a date.
QDateTime Value(const QVariant& v);

} // namespace DbDate
