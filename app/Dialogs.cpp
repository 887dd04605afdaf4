#include "app/Dialogs.h"

namespace orvane {

int CDialog::DoModal(platform::DialogEvents* events) {
    const res::DialogTemplate* dialog = res::FindDialog(templateId_);
    return dialog ? ui_.DoModal(*dialog, events) : res::IDCANCEL;
}

}  // namespace orvane
