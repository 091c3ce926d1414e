#pragma once

#include <tqservicecode/tqservicecode_export.h>

#include <tqglobal/IGlobal.h>
#include <tqglobal/IHostServices.h>

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QObject;

namespace tqservicecode {

/// The component's one public class. A host creates it, hands it its global objects
/// (GIC, GC, PV, DAC) and calls one of the four operations. The global objects are kept
/// component-wide, one set per thread: setting them on any instance replaces them for
/// every instance and screen of the thread.
class TQSERVICECODE_EXPORT clsServiceCode : public tqGlobal::IGlobal {
public:
    clsServiceCode();
    ~clsServiceCode() override;

    // IGlobal
    void setDAC(std::shared_ptr<tqGlobal::HostObject> value) override;
    std::shared_ptr<tqGlobal::HostObject> DAC() const override;
    void setGIC(std::shared_ptr<tqGlobal::IHostServices> value) override;
    std::shared_ptr<tqGlobal::IHostServices> GIC() const override;
    void setGC(std::shared_ptr<tqGlobal::HostObject> value) override;
    std::shared_ptr<tqGlobal::HostObject> GC() const override;
    void setPV(std::shared_ptr<tqGlobal::HostObject> value) override;
    std::shared_ptr<tqGlobal::HostObject> PV() const override;

    /// Posts one to-do or letter-management item for a patient; answers the new
    /// transaction's id, 0 when nothing was posted. A missing or 0 Pid does nothing.
    int32_t SendPatientManagementCode(QString& RelatedComment,
                                      std::optional<int32_t> Pid = std::nullopt,
                                      std::optional<QString> ServiceCode = std::nullopt,
                                      std::optional<QString> Description = std::nullopt,
                                      std::optional<bool> ToDoListOnly = std::nullopt);

    /// Shows the code picker for a patient. Return_Code receives the picker's answer
    /// text ("" when nothing was chosen) and Num_Code the number of codes chosen.
    /// Owner: a window owns the picker; null means the host's main window; any other
    /// object leaves the picker without owner.
    ///
    /// Show_Flag, the category buttons offered: 0 (or 63 and more) every button; 256 only
    /// "To Do List"; otherwise a sum of groups, "All" then off: 1 the dental procedure
    /// categories, 2 "CPT" and "ICD", 4 the payments and credits, 8 "Reimburse", "NSF" and
    /// "Refund", 16 "To Do List", "Letter Mgmt" and "Silent Codes", 32 "Tax".
    /// In_Cat_Name names the starting button by its caption ("Oral Surgery"), in any case;
    /// "" is the user's saved default; a name no button carries starts on "Tax", and a
    /// button not offered on the first button offered. SelectServiceCodeCategory answers a
    /// stored category ("Surgery", "Pat. Mgmt", or "ALL"): pass on the caption of the
    /// button that carries it (picker::categoryButtons() in
    /// <tqservicecode/selection/PickerCategories.h> holds both).
    void SelectServiceCode(int16_t& Show_Flag, int32_t& Pat_ID, QString& In_Cat_Name,
                           QString& Return_Code, int16_t& Num_Code, QString& SelMod,
                           std::optional<bool> ExpandServiceCode = std::nullopt,
                           QObject* Owner = nullptr);

    /// Opens the service code browser; answers the codes the user returned.
    QString ServiceCodeList();
    /// Lets the user choose a code category; "" when left without choosing. Answers the
    /// stored category name (see SelectServiceCode for passing it on); leaves the host's
    /// ScreenParameter as the choice left it ("BUTTONS" when cancelled).
    QString SelectServiceCodeCategory();

    // Working copies of the last SendPatientManagementCode call.
    int32_t Pid() const { return m_pid; }
    const QString& ServiceCode() const { return m_serviceCode; }
    const QString& Description() const { return m_description; }

private:
    int32_t m_pid = 0;
    QString m_serviceCode;
    QString m_description;
};

}  // namespace tqservicecode
