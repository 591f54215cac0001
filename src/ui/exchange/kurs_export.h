// The window of "&Export Einzelkurs" and "&Import Einzelkurs" (TKursExport): the
// current security's name, the previous/next buttons, and "Export" or "Import" by
// mode. The buttons ask dates, file and separator, then call exportSecurity() or
// importSecurity(); the window stays open until the user closes it. The file type
// chosen last is `ExportTyp`, stored when the window closes.
#pragma once

#include "exchange/security_export.h"
#include "exchange/security_import.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace q::ui {

class TAktienkurse;

class TKursExport final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Export, Import };
    TKursExport(TAktienkurse& window, Mode mode);

    // The work of the buttons once the questions are answered: shows the result in
    // the status bar and the message of a failure, and returns it.
    Result<SecurityExportReport> exportTo(const QString& file, ExportTyp typ, const QDate& from, const QDate& to, QChar separator);
    Result<HistoryReport> importFrom(const QString& file, const SecurityImportOptions& options);

    int firma() const { return m_firma; }
    ExportTyp typ() const { return m_typ; }
    QLabel* nameLabel() const { return m_name; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* importButton() const { return m_import; }
    // The small buttons: the previous or next security of the list.
    void step(int by);

    void Export();
    void Import();

protected:
    void done(int result) override;

private:
    void showSecurity();
    // The separator window ("Wählen Sie das Trennzeichen"); nullopt on cancel.
    std::optional<QChar> askSeparator();

    TAktienkurse& m_window;
    Mode m_mode;
    int m_firma = 0;
    ExportTyp m_typ = ExportTyp::Csv;
    HistoryColumns m_columns = csvColumnPreset();
    QLabel* m_name;
    QPushButton* m_export;
    QPushButton* m_import;
};

}  // namespace q::ui
