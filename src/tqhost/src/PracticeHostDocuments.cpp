// The host's documents and letters: its word-processor object, how it recognises the
// documents its word processor wrote, and the pop-up help flag.

#include "RtfReader.h"
#include "WordProcessor.h"

#include <tqhost/PracticeHost.h>

#include <QFile>

namespace tqhost {

namespace {

/// The generator name this host's word processor writes into its documents.
constexpr QLatin1StringView kOwnGenerator("Tavix");

}  // namespace

std::shared_ptr<tqGlobal::IWordProcessor> PracticeHost::CreateWordProcessor() {
    return std::make_shared<Internal::WordProcessor>(m_documentDisplayLimit);
}

bool PracticeHost::IsWordProcessorDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // The generator group sits in the header, before any text.
    const QByteArray header = file.read(4096);
    if (!header.trimmed().startsWith("{\\rtf")) {
        return false;
    }
    return Internal::readRtfInfo(header).generator.startsWith(kOwnGenerator, Qt::CaseInsensitive);
}

bool PracticeHost::GetPopUpHelpFlag() {
    return GetUserSetting(QStringLiteral("USER_DEF_SETUP") + m_userName,
                          QStringLiteral("POPUP_HELP_FLAG"), 0,
                          QStringLiteral("1")) == QStringLiteral("1");
}

}  // namespace tqhost
