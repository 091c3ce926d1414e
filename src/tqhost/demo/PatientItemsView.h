#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QTableWidget;

namespace tqhost {
class PracticeHost;
}

namespace tqdemo {

/// The chosen patient's ledger: posted items (DTTable) and notes (NoteTable), read from the
/// practice database, newest first.
class PatientItemsView : public QWidget {
    Q_OBJECT
public:
    explicit PatientItemsView(tqhost::PracticeHost& host, QWidget* parent = nullptr);

    void setPatient(int32_t id);
    /// Reads the items and notes again.
    void reload();

private:
    void loadItems();
    void loadNotes();

    tqhost::PracticeHost& m_host;
    int32_t m_patientId = 0;
    QLabel* m_itemsTitle = nullptr;
    QLabel* m_notesTitle = nullptr;
    QTableWidget* m_items = nullptr;
    QTableWidget* m_notes = nullptr;
};

}  // namespace tqdemo
