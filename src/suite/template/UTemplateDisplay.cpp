#include "outside/Tamsin.h"
#include "suite/template/TemplateTextDialog.h"

UTemplateDisplay::UTemplateDisplay(HWND parent)
    : dialog_(std::make_unique<TemplateTextDialog>(parent)) {}

UTemplateDisplay::~UTemplateDisplay() = default;

void UTemplateDisplay::SetDisplay(std::string text) { dialog_->SetText(text); }

int UTemplateDisplay::DoModal() { return dialog_->DoModal(); }

HWND UTemplateDisplay::getDialog() { return dialog_.get(); }
