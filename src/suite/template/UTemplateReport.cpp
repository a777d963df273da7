#include "outside/Tamsin.h"
#include "suite/template/TemplateReportDialog.h"

UTemplateReport::UTemplateReport(HWND parent)
    : dialog_(std::make_unique<TemplateReportDialog>(messages_, parent)) {}

UTemplateReport::~UTemplateReport() = default;

bool UTemplateReport::create() {
  // The caller destroys the report right after this call, so the report stays on screen
  // until the user has closed it rather than vanishing at once.
  dialog_->DoModal();
  return true;
}

int UTemplateReport::DoModal() { return dialog_->DoModal(); }

BMesgList* UTemplateReport::getErrorList() { return &messages_; }

HWND UTemplateReport::getDialog() { return dialog_.get(); }
