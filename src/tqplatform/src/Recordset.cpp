#include <tqplatform/Connection.h>
#include <tqplatform/Criteria.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>

#include <tqplatform/Error.h>

#include "DatabaseErrors.h"
#include "NativeCursor.h"
#include "PendingRead.h"
#include "SqliteColumnTypes.h"
#include "ValueCompare.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace tqplatform {

namespace {

/// How a fetched value is turned into the value the recordset holds.
enum class Conversion : uint8_t {
    Keep,
    ToInt32,     // 64-bit integers of 32-bit columns
    ToInt64,     // unsigned or 32-bit integers of 64-bit columns
    ToBool,      // SQLite keeps booleans as integers
    ToDouble,    // numeric columns that are not money
    ToCurrency,  // money columns
    ToDate,      // SQLite keeps dates as text
    ToDateTime,
};

struct ColumnPlan {
    int type = FieldType::VarWChar;
    int size = 0;
    Conversion conversion = Conversion::Keep;
};

int fixedSize(int type) {
    switch (type) {
        case FieldType::SmallInt:
        case FieldType::Boolean:
            return 2;
        case FieldType::Integer:
        case FieldType::Single:
            return 4;
        case FieldType::Double:
        case FieldType::Currency:
        case FieldType::Date:
        case FieldType::BigInt:
            return 8;
        default:
            return 0;
    }
}

/// "VARCHAR(20)" -> 20; 0 when the declared type gives no length.
int declaredLength(const QByteArray& declared) {
    const qsizetype open = declared.indexOf('(');
    const qsizetype close = declared.indexOf(')');
    if (open < 0 || close <= open) {
        return 0;
    }
    const QByteArray inner = declared.mid(open + 1, close - open - 1);
    bool ok = false;
    const int length = inner.split(',').first().trimmed().toInt(&ok);
    return ok ? length : 0;
}

ColumnPlan planFromMetaType(const QSqlField& field) {
    switch (field.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::UInt:
            return {FieldType::Integer, 0, Conversion::ToInt32};
        case QMetaType::Short:
        case QMetaType::UShort:
            return {FieldType::SmallInt, 0, Conversion::ToInt32};
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return {FieldType::BigInt, 0, Conversion::ToInt64};
        case QMetaType::Float:
            return {FieldType::Single, 0, Conversion::Keep};
        case QMetaType::Double:
            return {FieldType::Double, 0, Conversion::ToDouble};
        case QMetaType::Bool:
            return {FieldType::Boolean, 0, Conversion::ToBool};
        case QMetaType::QDate:
            return {FieldType::Date, 0, Conversion::ToDate};
        case QMetaType::QDateTime:
        case QMetaType::QTime:
            return {FieldType::Date, 0, Conversion::ToDateTime};
        case QMetaType::QByteArray:
            return {FieldType::LongVarBinary, 0, Conversion::Keep};
        default:
            return {FieldType::VarWChar, 0, Conversion::Keep};
    }
}

ColumnPlan planForSqlite(const QByteArray& declaredType, const QSqlField& field) {
    const QByteArray d = declaredType.toUpper();
    if (d.isEmpty()) {
        return planFromMetaType(field);  // an expression: Qt typed it by its first value
    }
    // The order follows SQLite's own affinity rules: INT first, then texts, blobs, reals.
    if (d.contains("INT")) {
        if (d.contains("BIGINT") || d.contains("INT8")) {
            return {FieldType::BigInt, 0, Conversion::ToInt64};
        }
        if (d.contains("SMALLINT") || d.contains("TINYINT") || d.contains("INT2")) {
            return {FieldType::SmallInt, 0, Conversion::ToInt32};
        }
        return {FieldType::Integer, 0, Conversion::ToInt32};
    }
    if (d.contains("CHAR") || d.contains("CLOB") || d.contains("TEXT")) {
        return {FieldType::VarWChar, declaredLength(d), Conversion::Keep};
    }
    if (d.contains("BLOB")) {
        return {FieldType::LongVarBinary, 0, Conversion::Keep};
    }
    if (d == "REAL") {
        // Stored as a double, but declared as PostgreSQL's four-byte real: same type code.
        return {FieldType::Single, 0, Conversion::ToDouble};
    }
    if (d.contains("REAL") || d.contains("FLOA") || d.contains("DOUB")) {
        return {FieldType::Double, 0, Conversion::ToDouble};
    }
    if (d.contains("BOOL")) {
        return {FieldType::Boolean, 0, Conversion::ToBool};
    }
    if (d == "DATE") {
        return {FieldType::Date, 0, Conversion::ToDate};
    }
    if (d.contains("DATE") || d.contains("TIME")) {
        return {FieldType::Date, 0, Conversion::ToDateTime};
    }
    if (d.contains("NUM") || d.contains("DEC") || d.contains("MONEY") || d.contains("CURRENCY")) {
        return {FieldType::Double, 0, Conversion::ToDouble};
    }
    return {FieldType::VarWChar, 0, Conversion::Keep};
}

ColumnPlan planForPostgres(const QSqlField& field) {
    // PostgreSQL type oids.
    switch (field.typeID()) {
        case 16:  // bool
            return {FieldType::Boolean, 0, Conversion::ToBool};
        case 20:  // int8
            return {FieldType::BigInt, 0, Conversion::ToInt64};
        case 21:  // int2
            return {FieldType::SmallInt, 0, Conversion::ToInt32};
        case 23:  // int4
        case 26:  // oid
            return {FieldType::Integer, 0, Conversion::ToInt32};
        case 700:  // float4
            return {FieldType::Single, 0, Conversion::ToDouble};
        case 701:   // float8
        case 1700:  // numeric, read as text at full precision
            return {FieldType::Double, 0, Conversion::ToDouble};
        case 1082:  // date
            return {FieldType::Date, 0, Conversion::ToDate};
        case 1083:  // time
        case 1114:  // timestamp
        case 1184:  // timestamptz
            return {FieldType::Date, 0, Conversion::ToDateTime};
        case 18:    // char
        case 19:    // name
        case 25:    // text
        case 1042:  // bpchar
        case 1043:  // varchar
            return {FieldType::VarWChar, std::max(0, field.length()), Conversion::Keep};
        default:
            return planFromMetaType(field);
    }
}

/// The largest whole amount that money held as an integer can take in ten-thousandths.
constexpr int64_t MaxMoneyUnits = std::numeric_limits<int64_t>::max() / Currency::Scale;

/// The value a variant holds, read without a conversion; T must be the variant's type.
template <typename T>
const T& held(const QVariant& v) {
    return *static_cast<const T*>(v.constData());
}

/// "-1234.5678": the form NUMERIC comes in, read straight into ten-thousandths.
char16_t unitOf(QChar c) {
    return c.unicode();
}
char16_t unitOf(char c) {
    return static_cast<unsigned char>(c);
}

/// "-1234.5678", as a QString or as the database's bytes.
template <typename Text>
std::optional<Currency> plainDecimal(const Text& text) {
    const qsizetype size = text.size();
    qsizetype i = 0;
    const auto at = [&text](qsizetype index) { return unitOf(text[index]); };
    const bool negative = size > 0 && at(0) == u'-';
    if (negative) {
        ++i;
    }
    int64_t whole = 0;
    int wholeDigits = 0;
    for (; i < size && at(i) >= u'0' && at(i) <= u'9'; ++i) {
        whole = whole * 10 + (at(i) - u'0');
        if (++wholeDigits > 14) {
            return std::nullopt;
        }
    }
    int64_t fraction = 0;
    int decimals = 0;
    if (i < size && at(i) == u'.') {
        for (++i; i < size && at(i) >= u'0' && at(i) <= u'9'; ++i) {
            if (++decimals > 4) {
                return std::nullopt;
            }
            fraction = fraction * 10 + (at(i) - u'0');
        }
    }
    if (i != size || wholeDigits + decimals == 0) {
        return std::nullopt;
    }
    for (int d = decimals; d < 4; ++d) {
        fraction *= 10;
    }
    const int64_t raw = whole * Currency::Scale + fraction;
    return Currency::fromRaw(negative ? -raw : raw);
}

QVariant toCurrency(const QVariant& v) {
    switch (v.metaType().id()) {
        case QMetaType::QString:
            if (const auto plain = plainDecimal(held<QString>(v))) {
                return QVariant::fromValue(*plain);
            }
            [[fallthrough]];
        case QMetaType::QByteArray:
            if (const auto parsed = Currency::parse(v.toString())) {
                return QVariant::fromValue(*parsed);
            }
            return v;  // not a number: the text stays as it was stored
        case QMetaType::Double:
        case QMetaType::Float: {
            // Money kept as a real (SQLite) is nearly always within a hair of a whole number
            // of ten-thousandths; that number is then what exact rounding would give too.
            const double real =
                v.metaType().id() == QMetaType::Double ? held<double>(v) : v.toDouble();
            const double units = real * Currency::Scale;
            if (std::fabs(units) < 0x1p50) {
                const double whole = std::nearbyint(units);
                if (std::fabs(units - whole) < 0.25) {
                    return QVariant::fromValue(Currency::fromRaw(static_cast<int64_t>(whole)));
                }
            }
            return QVariant::fromValue(Currency::fromDouble(real));
        }
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return QVariant::fromValue(Currency::fromUnits(v.toLongLong()));
        default:
            return v;
    }
}

int digitsAt(const QString& text, qsizetype at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[at + i].unicode();
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

/// "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" (or with "T"), the way dates are stored as text,
/// read without the cost of a general date parser.
std::optional<QVariant> quickIsoDate(const QString& text, bool dateColumn) {
    if ((text.size() != 10 && text.size() != 19) || text[4] != u'-' || text[7] != u'-') {
        return std::nullopt;
    }
    const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
    if (!date.isValid()) {
        return std::nullopt;
    }
    if (text.size() == 10) {
        return dateColumn ? QVariant(date) : QVariant(QDateTime(date, QTime(0, 0)));
    }
    if ((text[10] != u' ' && text[10] != u'T') || text[13] != u':' || text[16] != u':') {
        return std::nullopt;
    }
    const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
    if (!time.isValid()) {
        return std::nullopt;
    }
    return QVariant(QDateTime(date, time));
}

QVariant convert(QVariant&& v, Conversion conversion) {
    switch (conversion) {
        case Conversion::Keep:
            break;
        case Conversion::ToInt32:
            if (v.metaType().id() == QMetaType::LongLong) {
                const qlonglong n = held<qlonglong>(v);
                if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max()) {
                    return QVariant(static_cast<int>(n));
                }
            }
            break;
        case Conversion::ToInt64:
            switch (v.metaType().id()) {
                case QMetaType::ULongLong:
                    if (v.toULongLong() <=
                        static_cast<qulonglong>(std::numeric_limits<qlonglong>::max())) {
                        return QVariant(v.toLongLong());
                    }
                    break;
                case QMetaType::Int:
                case QMetaType::UInt:
                    return QVariant(v.toLongLong());
                default:
                    break;
            }
            break;
        case Conversion::ToBool:
            switch (v.metaType().id()) {
                case QMetaType::LongLong:
                case QMetaType::Int:
                    return QVariant(v.toLongLong() != 0);
                case QMetaType::QString: {
                    const QString t = v.toString().trimmed().toLower();
                    if (t == u"1" || t == u"true" || t == u"t" || t == u"-1") {
                        return QVariant(true);
                    }
                    if (t == u"0" || t == u"false" || t == u"f") {
                        return QVariant(false);
                    }
                    break;
                }
                default:
                    break;
            }
            break;
        case Conversion::ToDouble:
            switch (v.metaType().id()) {
                case QMetaType::QString: {
                    bool ok = false;
                    const double d = v.toString().toDouble(&ok);
                    if (ok) {
                        return QVariant(d);
                    }
                    break;
                }
                case QMetaType::LongLong:
                case QMetaType::Int:
                    return QVariant(v.toDouble());
                default:
                    break;
            }
            break;
        case Conversion::ToCurrency:
            return toCurrency(v);
        case Conversion::ToDate:
        case Conversion::ToDateTime:
            if (v.metaType().id() == QMetaType::QString) {
                const QString& text = held<QString>(v);
                if (const auto quick = quickIsoDate(text, conversion == Conversion::ToDate)) {
                    return std::move(*quick);
                }
                if (const auto dt = Internal::parseDate(text)) {
                    return QVariant(*dt);
                }
            }
            break;
    }
    return std::move(v);
}

/// The numbers a list reads most, straight from PostgreSQL's text: an int4 or int2 (as the
/// driver's atoi would read it) and money kept as NUMERIC (in ten-thousandths). nullopt for
/// anything else.
std::optional<Recordset::Number> quickPostgresNumber(QByteArrayView text, int type,
                                                     Conversion conversion) {
    constexpr int Int2 = 21, Int4 = 23, Numeric = 1700;
    if (conversion == Conversion::ToCurrency && type == Numeric) {
        if (const auto plain = plainDecimal(text)) {
            return Recordset::Number{true, plain->raw()};
        }
    } else if (conversion == Conversion::ToInt32 && (type == Int4 || type == Int2) &&
               !text.isEmpty() && text.size() <= 11) {
        const bool negative = text[0] == '-';
        int64_t value = 0;
        for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return std::nullopt;
            }
            value = value * 10 + (text[i] - '0');
        }
        return Recordset::Number{false, static_cast<int>(negative ? -value : value)};
    }
    return std::nullopt;
}

/// The same numbers as the values the recordset gives.
std::optional<QVariant> quickPostgresValue(QByteArrayView text, int type, Conversion conversion) {
    const auto number = quickPostgresNumber(text, type, conversion);
    if (!number) {
        return std::nullopt;
    }
    if (number->money) {
        return QVariant::fromValue(Currency::fromRaw(number->value));
    }
    return QVariant(static_cast<int>(number->value));
}

[[noreturn]] void throwNoCurrentRecord() {
    Internal::throwError(tqplatform::ErrorNumber::NoCurrentRecord,
                         QStringLiteral("Either BOF or EOF is True, or the current record has "
                                        "been deleted. Requested operation requires a current "
                                        "record."));
}

[[noreturn]] void throwUnknownField(const QString& name) {
    Internal::throwError(Internal::ItemNotFound,
                         QStringLiteral("Item cannot be found in the collection corresponding "
                                        "to the requested name or ordinal: %1")
                             .arg(name));
}

struct SortKey {
    int column = 0;
    bool descending = false;
};

QString unbracket(const QString& name) {
    if (name.size() >= 2 && name.startsWith(u'[') && name.endsWith(u']')) {
        return name.mid(1, name.size() - 2);
    }
    return name;
}

}  // namespace

struct Recordset::Data : Internal::PendingRead {
    std::vector<Column> columns;
    QHash<QString, int> exactIndex;   // names as fetched
    QHash<QString, int> foldedIndex;  // case-folded names
    Internal::RowStore store;
    int64_t rowsRead = 0;                 // rows in store
    std::vector<Conversion> conversions;  // per column, applied when a value is asked for
    std::vector<int> nativeTypes;         // PostgreSQL type oids, per column
    bool postgres = false;
    QString sql;
    bool fromConnection = false;
    std::weak_ptr<Connection*> connection;
    // Rows still to come (a recordset opened to read its rows as they are needed).
    std::unique_ptr<Internal::NativeCursor> cursor;

    Data() = default;
    // A copy holds the rows read; the caller completes the read first.
    Data(const Data& other)
        : columns(other.columns),
          exactIndex(other.exactIndex),
          foldedIndex(other.foldedIndex),
          store(other.store),
          rowsRead(other.rowsRead),
          conversions(other.conversions),
          nativeTypes(other.nativeTypes),
          postgres(other.postgres),
          sql(other.sql),
          fromConnection(other.fromConnection),
          connection(other.connection) {}
    ~Data() override {
        // Let go before its last row: on a server, the rest is not sent for nothing.
        const auto handle = connection.lock();
        if (cursor && handle && (*handle)->transactionDepth() == 0) {
            cursor->cancel();
        }
    }

    void indexColumns() {
        exactIndex.clear();
        exactIndex.reserve(static_cast<qsizetype>(columns.size()));
        foldedIndex.reserve(static_cast<qsizetype>(columns.size()));
        for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
            // With two columns of one name, the first one answers (as ADO's Fields does).
            exactIndex.insert(columns[i].name, exactIndex.value(columns[i].name, i));
            const QString folded = columns[i].name.toCaseFolded();
            foldedIndex.insert(folded, foldedIndex.value(folded, i));
        }
    }

    int indexOf(const QString& name) const {
        const auto exact = exactIndex.constFind(name);
        if (exact != exactIndex.constEnd()) {
            return exact.value();
        }
        return foldedIndex.value(name.toCaseFolded(), -1);
    }

    int64_t rowCount() const { return rowsRead; }

    QVariant value(int64_t row, int column) const {
        const auto c = static_cast<size_t>(column);
        const Internal::StoredKind kind = store.kind(row, column);
        if (kind == Internal::StoredKind::Variant || kind == Internal::StoredKind::Null) {
            return kind == Internal::StoredKind::Null ? QVariant() : store.variant(row, column);
        }
        if (postgres && kind == Internal::StoredKind::Text) {
            if (auto quick =
                    quickPostgresValue(store.bytes(row, column), nativeTypes[c], conversions[c])) {
                return std::move(*quick);
            }
        }
        QVariant raw = Internal::NativeCursor::driverValue(store, row, column, postgres,
                                                           postgres ? nativeTypes[c] : 0);
        if (raw.isNull()) {
            return {};
        }
        const Conversion conversion = conversions[c];
        return conversion == Conversion::Keep ? raw : convert(std::move(raw), conversion);
    }

    std::optional<QByteArrayView> utf8(int64_t row, int column) const {
        const auto c = static_cast<size_t>(column);
        if (store.kind(row, column) != Internal::StoredKind::Text ||
            conversions[c] != Conversion::Keep ||
            !Internal::NativeCursor::textIsValue(postgres, nativeTypes[c])) {
            return std::nullopt;
        }
        return store.bytes(row, column);
    }

    std::optional<Number> number(int64_t row, int column) const {
        const Conversion conversion = conversions[static_cast<size_t>(column)];
        const bool money = conversion == Conversion::ToCurrency;
        if (!money && conversion != Conversion::Keep && conversion != Conversion::ToInt32 &&
            conversion != Conversion::ToInt64) {
            return std::nullopt;
        }
        switch (store.kind(row, column)) {
            case Internal::StoredKind::Integer: {
                const int64_t value = store.integer(row, column);
                if (!money) {
                    return Number{false, value};
                }
                if (value > MaxMoneyUnits || value < -MaxMoneyUnits) {
                    return std::nullopt;
                }
                return Number{true, value * Currency::Scale};
            }
            case Internal::StoredKind::Real: {
                if (!money) {
                    return std::nullopt;
                }
                // The rule toCurrency applies; a value it rounds otherwise takes its road.
                const double units = store.real(row, column) * Currency::Scale;
                const double whole = std::nearbyint(units);
                if (!(std::fabs(units) < 0x1p50) || std::fabs(units - whole) >= 0.25) {
                    return std::nullopt;
                }
                return Number{true, static_cast<int64_t>(whole)};
            }
            case Internal::StoredKind::Text:
                if (postgres) {
                    return quickPostgresNumber(store.bytes(row, column),
                                               nativeTypes[static_cast<size_t>(column)],
                                               conversion);
                }
                return std::nullopt;
            default:
                return std::nullopt;
        }
    }

    void rowValues(int64_t row, std::vector<QVariant>& values) const {
        values.resize(columns.size());
        for (size_t c = 0; c < columns.size(); ++c) {
            values[c] = value(row, static_cast<int>(c));
        }
    }

    /// Runs the statement; reads every row, or only the first firstRows when firstRows >= 0
    /// (the rest then as they are asked for).
    void fetch(Connection& conn, const QString& statement, int firstRows = -1) {
        postgres = conn.kind() == DatabaseKind::PostgreSQL;
        // A read: it runs again when the connection had to be opened anew. NUMERIC comes
        // as exact text.
        QSqlQuery query = conn.run(statement, {}, true, postgres);
        const QSqlRecord record = query.record();
        const int count = record.count();
        conversions.assign(static_cast<size_t>(count), Conversion::Keep);
        nativeTypes.assign(static_cast<size_t>(count), 0);
        columns.clear();
        columns.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const QSqlField field = record.field(i);
            ColumnPlan plan = postgres
                                  ? planForPostgres(field)
                                  : planForSqlite(Internal::sqliteDeclaredType(query, i), field);
            if (conn.currencyColumns().contains(field.name().toLower())) {
                plan = {FieldType::Currency, 0, Conversion::ToCurrency};
            }
            if (plan.size <= 0) {
                plan.size = fixedSize(plan.type);
            }
            columns.push_back(Column{field.name(), plan.type, plan.size});
            conversions[static_cast<size_t>(i)] = plan.conversion;
            nativeTypes[static_cast<size_t>(i)] = field.typeID();
        }
        indexColumns();
        store = Internal::RowStore(count);
        rowsRead = 0;
        sql = statement;
        fromConnection = true;
        connection = conn.m_self;
        cursor = std::make_unique<Internal::NativeCursor>(std::move(query), postgres);
        readMore(firstRows < 0 ? std::numeric_limits<int>::max() : firstRows);
    }

    /// Reads up to maxRows more rows; throws what the connection throws for the failure.
    int64_t readMore(int maxRows) {
        if (pendingError) {
            throw std::exchange(pendingError, std::nullopt).value();
        }
        if (!cursor) {
            return 0;
        }
        const auto handle = connection.lock();
        if (!handle) {
            cursor.reset();
            Internal::throwError(Internal::ObjectClosed,
                                 QStringLiteral("The recordset's connection is closed"));
        }
        Connection& conn = **handle;
        const int read = cursor->read(store, maxRows);
        rowsRead = store.rowCount();
        if (cursor->done()) {
            const QSqlError error = cursor->error();
            const bool lost = cursor->lost();
            cursor.reset();
            if (error.isValid()) {
                conn.failedRead(error, sql, lost);
            }
        }
        return read;
    }

    /// Another statement is about to run on the connection: the rest of the rows are read
    /// now; a failure waits for the recordset's next read.
    void settle() noexcept override {
        try {
            readMore(std::numeric_limits<int>::max());
        } catch (const tqplatform::Error& error) {
            pendingError = error;
        }
    }

    std::optional<tqplatform::Error> pendingError;
};

Recordset::Recordset() = default;

Recordset::Recordset(Connection& conn, const QString& sql) : m_data(std::make_shared<Data>()) {
    m_data->fetch(conn, sql);
    rebuildView();
    m_pos = 0;
}

Recordset::Recordset(Connection& conn, const QString& sql, int firstRows)
    : m_data(std::make_shared<Data>()) {
    m_data->fetch(conn, sql, std::max(firstRows, 1));
    if (m_data->cursor) {
        conn.m_pendingRead = m_data;
    }
    rebuildView();
    m_pos = 0;
}

int Recordset::fetchMore(int maxRows) {
    requireOpen();
    const int64_t read = m_data->readMore(maxRows);
    catchUp();
    return static_cast<int>(read);
}

bool Recordset::fetchComplete() const {
    return !m_data || (!m_data->cursor && !m_data->pendingError);
}

void Recordset::completeFetch() const {
    if (m_data) {
        m_data->readMore(std::numeric_limits<int>::max());
    }
    catchUp();
}

void Recordset::catchUp() const {
    // Rows read since the view was made join it at the end: a recordset whose rows are
    // still coming is neither sorted nor filtered (both read every row first).
    if (!m_data || m_viewRows >= m_data->rowsRead) {
        return;
    }
    for (int64_t row = m_viewRows; row < m_data->rowCount(); ++row) {
        m_view.push_back(static_cast<int>(row));
    }
    m_viewRows = m_data->rowCount();
    m_viewPositions.clear();
}

Recordset::Recordset(std::vector<Column> columns, std::vector<std::vector<QVariant>> rows)
    : m_data(std::make_shared<Data>()) {
    m_data->store = Internal::RowStore(static_cast<int>(columns.size()));
    m_data->store.reserveRows(static_cast<int64_t>(rows.size()));
    for (const auto& row : rows) {
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c < row.size()) {
                m_data->store.addVariant(row[c]);
            } else {
                m_data->store.addNull();
            }
        }
    }
    m_data->rowsRead = m_data->store.rowCount();
    m_data->conversions.assign(columns.size(), Conversion::Keep);
    m_data->nativeTypes.assign(columns.size(), 0);
    m_data->columns = std::move(columns);
    m_data->indexColumns();
    rebuildView();
    m_pos = 0;
}

Recordset::~Recordset() = default;

Recordset::Recordset(const Recordset& other)
    : m_data(
          (other.completeFetch(), other.m_data ? std::make_shared<Data>(*other.m_data) : nullptr)),
      m_view(other.m_view),
      m_viewRows(other.m_viewRows),
      m_pos(other.m_pos),
      m_sort(other.m_sort),
      m_filter(other.m_filter) {}

Recordset& Recordset::operator=(const Recordset& other) {
    if (this != &other) {
        Recordset copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Recordset::Recordset(Recordset&& other) noexcept
    : m_data(std::move(other.m_data)),
      m_view(std::move(other.m_view)),
      m_viewRows(other.m_viewRows),
      m_pos(other.m_pos),
      m_sort(std::move(other.m_sort)),
      m_filter(std::move(other.m_filter)),
      m_viewPositions(std::move(other.m_viewPositions)) {
    other.m_pos = 0;
}

Recordset& Recordset::operator=(Recordset&& other) noexcept {
    m_data = std::move(other.m_data);
    m_view = std::move(other.m_view);
    m_viewRows = other.m_viewRows;
    m_pos = other.m_pos;
    m_sort = std::move(other.m_sort);
    m_filter = std::move(other.m_filter);
    m_viewPositions = std::move(other.m_viewPositions);
    other.m_pos = 0;
    return *this;
}

bool Recordset::isOpen() const {
    return m_data != nullptr;
}

void Recordset::Close() {
    m_data.reset();
    m_view.clear();
    m_viewRows = 0;
    m_viewPositions.clear();
    m_pos = 0;
    m_sort.clear();
    m_filter.clear();
}

void Recordset::requireOpen() const {
    if (!m_data) {
        Internal::throwError(Internal::ObjectClosed,
                             QStringLiteral("Operation is not allowed when the object is closed"));
    }
    catchUp();
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (m_pos < 0 || m_pos >= static_cast<int>(m_view.size())) {
        throwNoCurrentRecord();
    }
}

// Fields.

int Recordset::FieldCount() const {
    requireOpen();
    return static_cast<int>(m_data->columns.size());
}

const Recordset::Column& Recordset::FieldInfo(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_data->columns.size())) {
        throwUnknownField(QString::number(index));
    }
    return m_data->columns[static_cast<size_t>(index)];
}

int Recordset::FieldIndex(const QString& name) const {
    return m_data ? m_data->indexOf(name) : -1;
}

QVariant Recordset::Fields(const QString& name) const {
    requireOpen();
    const int index = m_data->indexOf(name);
    if (index < 0) {
        throwUnknownField(name);
    }
    requireCurrent();
    return m_data->value(m_view[static_cast<size_t>(m_pos)], index);
}

QVariant Recordset::Fields(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_data->columns.size())) {
        throwUnknownField(QString::number(index));
    }
    requireCurrent();
    return m_data->value(m_view[static_cast<size_t>(m_pos)], index);
}

/// The current record's row in the store when the recordset is open, its view up to date,
/// a record current and index a field; -1 otherwise (the checks then say why). A list or an
/// export of many rows asks once per cell, so the usual case costs a few comparisons.
int64_t Recordset::currentStoreRow(int index) const {
    if (!m_data || m_viewRows < m_data->rowsRead || m_pos < 0 ||
        m_pos >= static_cast<int>(m_view.size()) || index < 0 ||
        index >= static_cast<int>(m_data->columns.size())) {
        return -1;
    }
    return m_view[static_cast<size_t>(m_pos)];
}

std::optional<QByteArrayView> Recordset::FieldUtf8(int index) const {
    if (const int64_t row = currentStoreRow(index); row >= 0) {
        return m_data->utf8(row, index);
    }
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_data->columns.size())) {
        throwUnknownField(QString::number(index));
    }
    requireCurrent();
    return m_data->utf8(m_view[static_cast<size_t>(m_pos)], index);
}

std::optional<Recordset::Number> Recordset::FieldNumber(int index) const {
    if (const int64_t row = currentStoreRow(index); row >= 0) {
        return m_data->number(row, index);
    }
    requireOpen();
    if (index < 0 || index >= static_cast<int>(m_data->columns.size())) {
        throwUnknownField(QString::number(index));
    }
    requireCurrent();
    return m_data->number(m_view[static_cast<size_t>(m_pos)], index);
}

void Recordset::setField(const QString& name, const QVariant& value) {
    requireOpen();
    const int index = m_data->indexOf(name);
    if (index < 0) {
        throwUnknownField(name);
    }
    requireCurrent();
    m_data->store.set(m_view[static_cast<size_t>(m_pos)], index, value);
}

QString Recordset::Source() const {
    return m_data ? m_data->sql : QString();
}

// Cursor.

int Recordset::RecordCount() const {
    requireOpen();
    return static_cast<int>(m_view.size());
}

bool Recordset::Eof() const {
    requireOpen();
    return m_view.empty() || m_pos >= static_cast<int>(m_view.size());
}

bool Recordset::Bof() const {
    requireOpen();
    return m_view.empty() || m_pos < 0;
}

void Recordset::MoveFirst() {
    requireOpen();
    if (m_view.empty()) {
        throwNoCurrentRecord();
    }
    m_pos = 0;
}

void Recordset::MoveLast() {
    completeFetch();
    requireOpen();
    if (m_view.empty()) {
        throwNoCurrentRecord();
    }
    m_pos = static_cast<int>(m_view.size()) - 1;
}

void Recordset::MoveNext() {
    if (Eof()) {
        throwNoCurrentRecord();
    }
    ++m_pos;
}

void Recordset::MovePrevious() {
    if (Bof()) {
        throwNoCurrentRecord();
    }
    --m_pos;
}

void Recordset::Move(int count) {
    requireOpen();
    const int size = static_cast<int>(m_view.size());
    if (size == 0 || (count > 0 && m_pos >= size) || (count < 0 && m_pos < 0) ||
        (count == 0 && (m_pos < 0 || m_pos >= size))) {
        throwNoCurrentRecord();
    }
    const int64_t target = static_cast<int64_t>(m_pos) + count;
    m_pos = static_cast<int>(std::clamp<int64_t>(target, -1, size));
}

int Recordset::AbsolutePosition() const {
    requireOpen();
    if (Bof()) {
        return Position::Bof;
    }
    if (Eof()) {
        return Position::Eof;
    }
    return m_pos + 1;
}

void Recordset::setAbsolutePosition(int position) {
    requireOpen();
    if (position < 1 || position > static_cast<int>(m_view.size())) {
        Internal::throwError(Internal::BadArgument,
                             QStringLiteral("Position %1 is outside the %2 records")
                                 .arg(position)
                                 .arg(m_view.size()));
    }
    m_pos = position - 1;
}

Bookmark Recordset::bookmark() const {
    requireCurrent();
    return m_view[static_cast<size_t>(m_pos)];
}

int Recordset::viewPositionOf(Bookmark bookmark) const {
    const auto rows = static_cast<size_t>(m_data->rowCount());
    if (bookmark < 0 || std::cmp_greater_equal(bookmark, rows)) {
        return -1;
    }
    if (m_viewPositions.size() != rows) {
        m_viewPositions.assign(rows, -1);
        for (size_t i = 0; i < m_view.size(); ++i) {
            m_viewPositions[static_cast<size_t>(m_view[i])] = static_cast<int>(i);
        }
    }
    return m_viewPositions[static_cast<size_t>(bookmark)];
}

void Recordset::setBookmark(Bookmark bookmark) {
    requireOpen();
    const int position = viewPositionOf(bookmark);
    if (position < 0) {
        Internal::throwError(
            Internal::BadArgument,
            QStringLiteral("The bookmark %1 is not a record of this view").arg(bookmark));
    }
    m_pos = position;
}

Recordset Recordset::Clone() const {
    requireOpen();
    completeFetch();
    Recordset clone;
    clone.m_data = m_data;
    clone.m_view = m_view;
    clone.m_viewRows = m_viewRows;
    clone.m_sort = m_sort;
    clone.m_filter = m_filter;
    clone.m_pos = 0;
    return clone;
}

void Recordset::Requery() {
    requireOpen();
    if (m_data->fromConnection) {
        const auto handle = m_data->connection.lock();
        // A connection closed underneath is opened again by the fetch; one closed on
        // purpose is reported.
        if (!handle || !(*handle)->database().isValid()) {
            Internal::throwError(Internal::ObjectClosed,
                                 QStringLiteral("The recordset's connection is closed"));
        }
        // Fresh rows of our own: clones keep the rows they were made over.
        m_data->cursor.reset();  // rows still coming are not wanted any more
        auto fresh = std::make_shared<Data>();
        fresh->fetch(**handle, m_data->sql);
        m_data = std::move(fresh);
    }
    rebuildView();
    m_pos = 0;
}

// Sort and filter.

namespace {

std::vector<SortKey> parseSort(const QString& sort,
                               const std::function<int(const QString&)>& indexOf) {
    std::vector<SortKey> keys;
    if (sort.trimmed().isEmpty()) {
        return keys;
    }
    const QStringList parts = sort.split(u',');
    for (const QString& rawPart : parts) {
        QString part = rawPart.trimmed();
        SortKey key;
        const qsizetype space = part.lastIndexOf(u' ');
        if (space > 0) {
            const QString word = part.mid(space + 1);
            if (word.compare(u"DESC", Qt::CaseInsensitive) == 0) {
                key.descending = true;
                part = part.left(space).trimmed();
            } else if (word.compare(u"ASC", Qt::CaseInsensitive) == 0) {
                part = part.left(space).trimmed();
            }
        }
        const QString name = unbracket(part).trimmed();
        if (name.isEmpty() || name.contains(u'[') || name.contains(u']')) {
            Internal::throwError(Internal::BadArgument,
                                 QStringLiteral("Cannot read the sort order \"%1\"").arg(sort));
        }
        key.column = indexOf(name);
        keys.push_back(key);
    }
    return keys;
}

}  // namespace

void Recordset::rebuildView() {
    const auto indexOf = [this](const QString& name) {
        const int index = m_data->indexOf(name);
        if (index < 0) {
            throwUnknownField(name);
        }
        return index;
    };
    const std::vector<SortKey> keys = parseSort(m_sort, indexOf);
    std::optional<Criteria> criteria;
    if (!m_filter.trimmed().isEmpty()) {
        criteria.emplace(m_filter);
        criteria->bind(indexOf);
    }

    if (!keys.empty() || criteria) {
        completeFetch();
    }
    const Data& data = *m_data;
    const auto rowCount = static_cast<size_t>(data.rowCount());
    std::vector<int> view(rowCount);
    std::iota(view.begin(), view.end(), 0);
    if (!keys.empty()) {
        // The sort columns' values, made once rather than at every comparison.
        std::vector<std::vector<QVariant>> keyValues(keys.size());
        for (size_t k = 0; k < keys.size(); ++k) {
            keyValues[k].reserve(rowCount);
            for (size_t row = 0; row < rowCount; ++row) {
                keyValues[k].push_back(data.value(static_cast<int64_t>(row), keys[k].column));
            }
        }
        std::stable_sort(view.begin(), view.end(), [&keyValues, &keys](int a, int b) {
            for (size_t k = 0; k < keys.size(); ++k) {
                const SortKey& key = keys[k];
                const int c = Internal::compareForSort(keyValues[k][static_cast<size_t>(a)],
                                                       keyValues[k][static_cast<size_t>(b)]);
                if (c != 0) {
                    return key.descending ? c > 0 : c < 0;
                }
            }
            return false;
        });
    }
    if (criteria) {
        // Only the fields the criteria test are made into values: a filter over a few
        // texts of a wide row does not pay for every column of every row.
        std::vector<int> tested;
        for (const QString& name : criteria->fieldNames()) {
            tested.push_back(indexOf(name));
        }
        std::vector<QVariant> values(data.columns.size());
        std::erase_if(view, [&data, &criteria, &values, &tested](int row) {
            for (const int column : tested) {
                values[static_cast<size_t>(column)] = data.value(row, column);
            }
            return !criteria->matchesRow(values);
        });
    }
    m_view = std::move(view);
    m_viewRows = data.rowCount();
    m_viewPositions.clear();
}

QString Recordset::Sort() const {
    return m_sort;
}

void Recordset::setSort(const QString& sort) {
    requireOpen();
    const bool hadCurrent = m_pos >= 0 && m_pos < static_cast<int>(m_view.size());
    const Bookmark current = hadCurrent ? m_view[static_cast<size_t>(m_pos)] : -1;
    const QString previous = m_sort;
    m_sort = sort.trimmed();
    try {
        rebuildView();
    } catch (...) {
        m_sort = previous;
        throw;
    }
    // The current record stays current; without one the cursor goes to the first record.
    const int position = hadCurrent ? viewPositionOf(current) : -1;
    m_pos = position >= 0 ? position : 0;
}

QString Recordset::Filter() const {
    return m_filter;
}

void Recordset::setFilter(const QString& criteria) {
    requireOpen();
    const QString previous = m_filter;
    m_filter = criteria.trimmed();
    try {
        rebuildView();
    } catch (...) {
        m_filter = previous;
        throw;
    }
    m_pos = 0;
}

void Recordset::Find(const QString& criteria, int skipRecords, SearchDirection direction) {
    requireOpen();
    completeFetch();
    std::vector<QVariant> values;
    const auto matches = [this, &values](const Criteria& c, int64_t position) {
        m_data->rowValues(m_view[static_cast<size_t>(position)], values);
        return c.matchesRow(values);
    };
    Criteria parsed(criteria);
    parsed.bind([this](const QString& name) {
        const int index = m_data->indexOf(name);
        if (index < 0) {
            throwUnknownField(name);
        }
        return index;
    });
    const int size = static_cast<int>(m_view.size());
    if (direction == SearchDirection::Forward) {
        int64_t start = (m_pos < 0 ? 0 : m_pos) + static_cast<int64_t>(skipRecords);
        for (int64_t i = std::max<int64_t>(start, 0); i < size; ++i) {
            if (matches(parsed, i)) {
                m_pos = static_cast<int>(i);
                return;
            }
        }
        m_pos = size;
    } else {
        int64_t start = (m_pos >= size ? size - 1 : m_pos) - static_cast<int64_t>(skipRecords);
        for (int64_t i = std::min<int64_t>(start, size - 1); i >= 0; --i) {
            if (matches(parsed, i)) {
                m_pos = static_cast<int>(i);
                return;
            }
        }
        m_pos = -1;
    }
}

}  // namespace tqplatform
