#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

/// The single-byte code page of the practice's text files (grid layouts, exports):
/// Windows-1252, the code page the practice's other programs read and write.
///
/// A character the code page cannot hold is written as "?" (one per character, a
/// character outside the basic plane included), as Windows writes it; the bytes 0x81,
/// 0x8D, 0x8F, 0x90 and 0x9D, which Windows-1252 leaves unassigned, stand for the control
/// characters of the same number both ways.
namespace tqservicecode::cp1252 {

/// Appends text, encoded, to out.
void appendEncoded(QByteArray& out, QStringView text);
QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

}  // namespace tqservicecode::cp1252
