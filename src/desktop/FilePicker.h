#pragma once

#include <QFileDialog>
#include <QStringList>
#include <optional>

namespace scorvane {

// Qt's open-file picker, handing over exactly the names the user gave. Its name field and its list can
// disagree: the completer selects in the list what it can find there while the user types, so a name of
// another folder, or one the list does not hold, would be dropped in favour of the list's selection.
// When the names typed differ from the selection, the typed names hold, checked as Qt checks a choice:
// a name of nothing keeps the picker open with Qt's own "not found" message, a folder's name opens it.
class FilePicker final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    // The chosen files' full paths, once the picker was accepted.
    QStringList Chosen() const;

protected:
    void accept() override;

private:
    // The names of the name field, read as Qt reads them ("a" "b" for several), made full paths
    // against the folder the picker shows.
    QStringList TypedNames() const;

    std::optional<QStringList> typed_;  // when they hold over the list's selection
};

}  // namespace scorvane
