#pragma once
// The editor's wrapper of the word-processor control. It is the control's site in the chapter
// window (a child widget the control fills) and the only way the editor reaches the control.
//
// The control itself is the tdx::Control interface of components/tdx: the component owns
// its public API, and this wrapper depends on it (never the other way round). Create() asks
// a factory for the control; the program uses the real one, tests install a fake with
// ScopedFactory. Every member is a no-op with a null/false result before Create().
#include "editor/DTdxAction.h"
#include "editor/DTdxParameterSet.h"
#include "editor/DTdxShapeObject.h"

#include "components/tdx/Control.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class CDTdxCtrl0 : public QWidget {
public:
    using Factory = std::function<std::unique_ptr<tdx::Control>(QWidget* parent)>;

    explicit CDTdxCtrl0(QWidget* parent = nullptr);
    ~CDTdxCtrl0() override;

    // Makes the control as a visible child of `parent` at `rect`. False when no control
    // could be made.
    bool Create(QWidget* parent, const QRect& rect, int id);
    bool IsCreated() const { return m_control != nullptr; }
    int GetDlgCtrlID() const { return m_id; }
    tdx::Control* GetControl() const { return m_control.get(); }

    CDTdxShapeObject GetFirstObject() const;                  // 3
    CDTdxShapeObject GetLastObject() const;                   // 6
    CDTdxParameterSet GetViewProperties() const;              // 11, read
    void SetViewProperties(const CDTdxParameterSet& set);     // 11, write
    void ClearDocument(short option);                         // 16
    CDTdxAction CreateAction(const QString& name);            // 17
    bool OpenDocument(const QString& path, const QString& format, const QString& options);   // 26
    bool RunAction(const QString& name);                      // 29
    bool IsModified(long option);                             // 30
    bool SaveDocumentAs(const QString& path, const QString& format, const QString& options); // 31
    // 54: section count, section number, page, column, line, position, overwrite, text.
    bool GetStatus(long& sectionCount, long& section, long& page, long& column, long& line,
                   long& position, short& overwrite, QString& text);
    CDTdxParameterSet GetScrollState() const;                 // 73, read
    void SetScrollState(const CDTdxParameterSet& set);        // 73, write
    bool RegisterModule(const QString& type, const QString& name);  // 76
    bool ExportStyles(const CDTdxParameterSet& set);          // 15079
    bool ImportStyles(const CDTdxParameterSet& set);          // 15080
    QString GetPicturePath(long fileName);                    // 15081

    // Replaces the factory Create() uses for as long as the object lives.
    class ScopedFactory {
    public:
        explicit ScopedFactory(Factory factory);
        ~ScopedFactory();
        ScopedFactory(const ScopedFactory&) = delete;
        ScopedFactory& operator=(const ScopedFactory&) = delete;

    private:
        Factory m_previous;
    };

private:
    std::unique_ptr<tdx::Control> m_control;
    int m_id = 0;
};
