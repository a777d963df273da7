#include "suite/template/TemplateEditorDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <utility>

#include "framework/Prompter.h"
#include "model/BException.h"
#include "model/RTemplateFile.h"

namespace {

using Section = TemplateEditorDialog::Section;

struct SectionLayout {
  const char* tab;
  std::vector<const char*> columns;  // name first, then the values
};

const SectionLayout& LayoutOf(Section section) {
  static const SectionLayout layouts[] = {
      {"&Symbol Information", {"Item", "Value"}},
      {"&Pin Loads", {"Pin type", "Input load", "Output load"}},
      {"P&roperty Values", {"Property", "Value"}},
  };
  return layouts[section];
}

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Text(const QString& text) { return text.trimmed().toStdString(); }

QPushButton* Button(const char* text, int id, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setProperty("ctrlId", id);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TemplateEditorDialog::TemplateEditorDialog(RTemplateFile& templateFile, std::string& path,
                                           std::string folder, QWidget* parent)
    : CDialog(IDD, parent), template_(templateFile), path_(path), folder_(std::move(folder)) {
  auto* tabs = new QTabWidget(this);
  tabs->setProperty("ctrlId", int{IDC_SECTIONS});
  for (Section s : {kSymbolInformation, kPinLoads, kPropertyValues}) BuildPage(s, tabs);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button("&Save", IDC_SAVE, this));
  buttons->addWidget(Button("Save &As...", IDC_SAVE_AS, this));
  buttons->addStretch(1);
  buttons->addWidget(Button("C&lose", IDC_CLOSE, this));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addLayout(buttons);
  resize(640, 480);
}

void TemplateEditorDialog::BuildPage(Section section, QTabWidget* tabs) {
  const SectionLayout& sectionLayout = LayoutOf(section);
  Page& page = pages_[section];
  auto* widget = new QWidget(tabs);

  page.table = new QTreeWidget(widget);
  page.table->setProperty("ctrlId", Id(section, kTable));
  page.table->setRootIsDecorated(false);
  page.table->setSelectionMode(QAbstractItemView::SingleSelection);
  QStringList headers;
  for (const char* column : sectionLayout.columns) headers << column;
  page.table->setHeaderLabels(headers);
  page.table->header()->setSectionResizeMode(QHeaderView::Stretch);
  connect(page.table, &QTreeWidget::itemSelectionChanged, this,
          [this, section] { ShowSelected(section); });

  auto* form = new QFormLayout;
  page.name = new QComboBox(widget);
  page.name->setProperty("ctrlId", Id(section, kName));
  page.name->setEditable(true);
  page.name->setInsertPolicy(QComboBox::NoInsert);
  const std::vector<std::string> none;
  const std::vector<std::string>& offered = section == kSymbolInformation
                                                ? RTemplateFile::knownSymbolKeys()
                                            : section == kPinLoads ? RTemplateFile::knownPinTypes()
                                                                   : none;
  for (const std::string& name : offered) page.name->addItem(Text(name));
  page.name->setCurrentText({});
  form->addRow(QString(sectionLayout.columns[0]) + ":", page.name);
  for (std::size_t i = 1; i < sectionLayout.columns.size(); ++i) {
    auto* value = new QLineEdit(widget);
    value->setProperty("ctrlId", Id(section, kFirstValue + static_cast<int>(i) - 1));
    if (section == kPinLoads) value->setPlaceholderText("a decimal number, or - for none");
    form->addRow(QString(sectionLayout.columns[i]) + ":", value);
    page.values.push_back(value);
  }
  page.hint = new QLabel(widget);
  page.hint->setProperty("ctrlId", Id(section, kHint));
  page.hint->setWordWrap(true);
  form->addRow(page.hint);
  connect(page.name, &QComboBox::currentTextChanged, this, [this, section] { ShowHint(section); });

  auto* actions = new QHBoxLayout;
  actions->addWidget(Button("A&dd", Id(section, kAdd), widget));
  actions->addWidget(Button("C&hange", Id(section, kChange), widget));
  actions->addWidget(Button("Re&move", Id(section, kRemove), widget));
  actions->addStretch(1);

  auto* layout = new QVBoxLayout(widget);
  layout->addWidget(page.table, 1);
  layout->addLayout(form);
  layout->addLayout(actions);
  tabs->addTab(widget, sectionLayout.tab);
}

bool TemplateEditorDialog::OnInitDialog() {
  for (Section s : {kSymbolInformation, kPinLoads, kPropertyValues}) Refill(s);
  ShowTitle();
  return true;
}

std::vector<std::vector<std::string>> TemplateEditorDialog::Rows(Section section) const {
  std::vector<std::vector<std::string>> rows;
  switch (section) {
    case kSymbolInformation:
      for (const std::string& key : template_.getSymbolKeys()) {
        const std::string* value = template_.getSymbolValue(key);
        rows.push_back({key, value ? *value : std::string()});
      }
      break;
    case kPinLoads:
      for (const std::string& type : template_.getPinTypes()) {
        const RTemplatePinLoad* load = template_.getPinLoad(type);
        rows.push_back(
            {type, load ? load->getInputLoad() : "-", load ? load->getOutputLoad() : "-"});
      }
      break;
    case kPropertyValues:
      for (const std::string& name : template_.getPropertyNames()) {
        const std::string* value = template_.getPropertyValue(name);
        rows.push_back({name, value ? *value : std::string()});
      }
      break;
  }
  return rows;
}

void TemplateEditorDialog::Refill(Section section, const std::string& select) {
  Page& page = pages_[section];
  QSignalBlocker blocker(page.table);
  page.table->clear();
  QTreeWidgetItem* selected = nullptr;
  for (const auto& row : Rows(section)) {
    auto* item = new QTreeWidgetItem(page.table);
    for (std::size_t i = 0; i < row.size(); ++i) item->setText(static_cast<int>(i), Text(row[i]));
    if (!select.empty() && row.front() == select) selected = item;
  }
  if (selected) {
    page.table->setCurrentItem(selected);
    selected->setSelected(true);
  }
}

void TemplateEditorDialog::ShowSelected(Section section) {
  Page& page = pages_[section];
  const auto items = page.table->selectedItems();
  if (items.isEmpty()) return;
  page.name->setCurrentText(items.front()->text(0));
  for (std::size_t i = 0; i < page.values.size(); ++i) {
    page.values[i]->setText(items.front()->text(static_cast<int>(i) + 1));
  }
}

void TemplateEditorDialog::ShowHint(Section section) {
  if (section != kSymbolInformation) return;
  Page& page = pages_[section];
  const std::string key = Text(page.name->currentText());
  page.hint->setText(key.empty() ? QString() : Text(RTemplateFile::symbolValueHint(key)));
}

bool TemplateEditorDialog::OnCommand(int id) {
  switch (id) {
    case IDC_SAVE:
      Save();
      return true;
    case IDC_SAVE_AS:
      SaveAs();
      return true;
    default:
      break;
  }
  const int offset = (id - kSectionBase) % kSectionStep;
  const int index = (id - kSectionBase) / kSectionStep;
  if (id < kSectionBase || index > kPropertyValues) return false;
  const auto section = static_cast<Section>(index);
  switch (offset) {
    case kAdd:
      AddEntry(section);
      return true;
    case kChange:
      ChangeEntry(section);
      return true;
    case kRemove:
      RemoveEntry(section);
      return true;
    default:
      return false;
  }
}

bool TemplateEditorDialog::Apply(const std::function<void()>& edit) {
  try {
    edit();
  } catch (const BException& e) {
    AfxMessageBox(e.getExceptionInfo(), MB_ICONWARNING);
    return false;
  }
  modified_ = true;
  ShowTitle();
  return true;
}

namespace {

bool HasEntry(const RTemplateFile& file, Section section, const std::string& name) {
  switch (section) {
    case Section::kSymbolInformation:
      return file.getSymbolValue(name) != nullptr;
    case Section::kPinLoads:
      return file.getPinLoad(name) != nullptr;
    case Section::kPropertyValues:
      return file.getPropertyValue(name) != nullptr;
  }
  return false;
}

void SetEntry(RTemplateFile& file, Section section, const std::string& name,
              const std::vector<std::string>& values) {
  switch (section) {
    case Section::kSymbolInformation:
      file.setSymbolValue(name, values.at(0));
      break;
    case Section::kPinLoads:
      file.setPinLoad(name, values.at(0).empty() ? "-" : values.at(0),
                      values.at(1).empty() ? "-" : values.at(1));
      break;
    case Section::kPropertyValues:
      file.setPropertyValue(name, values.at(0));
      break;
  }
}

bool RemoveEntryOf(RTemplateFile& file, Section section, const std::string& name) {
  switch (section) {
    case Section::kSymbolInformation:
      return file.removeSymbolValue(name);
    case Section::kPinLoads:
      return file.removePinLoad(name);
    case Section::kPropertyValues:
      return file.removePropertyValue(name);
  }
  return false;
}

}  // namespace

void TemplateEditorDialog::AddEntry(Section section) {
  Page& page = pages_[section];
  const std::string name = Text(page.name->currentText());
  if (name.empty()) {
    AfxMessageBox("Enter the " + QString(LayoutOf(section).columns[0]).toLower().toStdString() +
                      " of the new entry.",
                  MB_ICONWARNING);
    return;
  }
  if (HasEntry(template_, section, name)) {
    AfxMessageBox("The template already has an entry " + name + ": select it and use Change.",
                  MB_ICONWARNING);
    return;
  }
  std::vector<std::string> values;
  for (QLineEdit* edit : page.values) values.push_back(Text(edit->text()));
  if (Apply([&] { SetEntry(template_, section, name, values); })) Refill(section, name);
}

void TemplateEditorDialog::ChangeEntry(Section section) {
  Page& page = pages_[section];
  const auto items = page.table->selectedItems();
  if (items.isEmpty()) {
    AfxMessageBox("Select the entry to change.", MB_ICONWARNING);
    return;
  }
  const std::string old = Text(items.front()->text(0));
  const std::string name = Text(page.name->currentText());
  if (name.empty()) {
    AfxMessageBox("An entry needs a name.", MB_ICONWARNING);
    return;
  }
  if (name != old && HasEntry(template_, section, name)) {
    AfxMessageBox("The template already has an entry " + name + ".", MB_ICONWARNING);
    return;
  }
  std::vector<std::string> values;
  for (QLineEdit* edit : page.values) values.push_back(Text(edit->text()));
  // A renamed entry replaces the old one only once the new one has been accepted.
  const bool changed = Apply([&] {
    SetEntry(template_, section, name, values);
    if (name != old) RemoveEntryOf(template_, section, old);
  });
  if (changed) Refill(section, name);
}

void TemplateEditorDialog::RemoveEntry(Section section) {
  Page& page = pages_[section];
  const auto items = page.table->selectedItems();
  if (items.isEmpty()) {
    AfxMessageBox("Select the entry to remove.", MB_ICONWARNING);
    return;
  }
  const std::string name = Text(items.front()->text(0));
  if (Apply([&] { RemoveEntryOf(template_, section, name); })) {
    Refill(section);
    page.name->setCurrentText({});
    for (QLineEdit* edit : page.values) edit->clear();
  }
}

bool TemplateEditorDialog::Save() {
  if (path_.empty()) return SaveAs();
  try {
    template_.saveAs(path_);
  } catch (const BException& e) {
    AfxMessageBox(e.getExceptionInfo(), MB_ICONERROR);
    return false;
  }
  modified_ = false;
  saved_ = true;
  ShowTitle();
  return true;
}

bool TemplateEditorDialog::SaveAs() {
  FileRequest request;
  request.title = "Save Part Template";
  request.directory = path_.empty() ? folder_ : std::string();
  request.fileName = path_.empty() ? "template" : path_;
  request.filter = "Template Files (*.tpl)";
  request.defaultSuffix = "tpl";
  const auto path = CurrentPrompter().SaveFile(request);
  if (!path) return false;
  const std::string previous = path_;
  path_ = *path;
  if (Save()) return true;
  path_ = previous;
  ShowTitle();
  return false;
}

void TemplateEditorDialog::OnCancel() {
  if (modified_) {
    const int answer =
        AfxMessageBox("The template has changes that are not saved.\nSave them before closing?",
                      MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return;
    if (answer == IDYES && !Save()) return;
  }
  EndDialog(IDC_CLOSE);
}

void TemplateEditorDialog::ShowTitle() {
  const std::string name =
      path_.empty() ? "new template" : std::filesystem::path(path_).filename().string();
  setWindowTitle(Text("Template Editor - " + name + (modified_ ? " *" : "")));
}
