// The main window: the account header, the project list with its keyword search, the region and
// operator choices, and the buttons that open the other windows.
#include <string>

#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/common_steps.h"
#include "app/handlers/handlers.h"
#include "app/handlers/number_panel.h"
#include "app/protocol/replies.h"
#include "app/protocol/requests.h"
#include "app/service_calls.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

using namespace main_window;

constexpr int32_t kPauseBeforeClosingLogin = 100;

// Fills the project list with the service's whole list.
void loadProjectList() {
  const Text reply = askService(protocol::projectListUrl(serviceAddress()));
  clearComboBox(kProjects);
  for (const std::string& item : protocol::readProjectList(reply.get()))
    addComboBoxItem(kProjects, item.c_str());
  setComboBoxText(kProjects, texts::kChooseProject);
}

// The listed items that hold the keyword, letter case ignored, each followed by a line break.
std::string matchingItems(const char* keyword) {
  std::string matches;
  const int32_t count = comboBoxItemCount(kProjects);
  for (int32_t i = 0; i < count; ++i) {
    const Text item = comboBoxItemText(kProjects, i);
    if (findText(item.get(), keyword, true) > 0) {
      matches += item.view();
      matches += "\r\n";
    }
  }
  return matches;
}

std::string matchCountCaption(int32_t count) {
  return texts::kMatchesBefore + std::to_string(count) + texts::kMatchesAfter;
}

}  // namespace

void mainWindowCreated() {
  resetNumberPanel();
  findHeldNumber();
  loadProjectList();
  setUnitText(kUserName, accountField(AccountField::kUserName));
  showBalance(kBalance);
  showSupportContact(kSupportContact);
  pause(kPauseBeforeClosingLogin);
  closeWindow(login::kWindow);
}

void projectSelected() {
  const Text item = comboBoxText(kProjects);
  const protocol::ProjectItem project = protocol::readProjectItem(item.get());
  setUnitText(kProjectName, project.name.c_str());
  setUnitText(kUnitPrice, project.price.c_str());
}

void regionSelected() {
  setUnitText(kRegion, comboBoxText(kRegions).get());
}

void operatorSelected() {
  setUnitText(kOperator, comboBoxText(kOperators).get());
}

void keywordChanged() {
  if (unitText(kKeyword).empty()) loadProjectList();
}

void searchButtonClicked() {
  const Text keyword = unitText(kKeyword);
  if (keyword.empty()) return showMessage(texts::kEnterKeyword);

  const std::string matches = matchingItems(keyword.get());
  if (matches.empty()) {
    loadProjectList();
    return showMessage(texts::kNoMatches, matchCountCaption(0).c_str());
  }
  const TextArray lines = splitText(matches.c_str(), "\r\n");
  clearComboBox(kProjects);
  for (int32_t i = 0; i < lines.size(); ++i)
    addComboBoxItem(kProjects, std::string(lines[i]).c_str());
  const std::string count = std::to_string(lines.size());
  setComboBoxText(kProjects, (texts::kResultsBefore + count + texts::kResultsAfter).c_str());
  showMessage(matches.c_str(), matchCountCaption(lines.size()).c_str());
}

void topUpButtonClicked() {
  openWindow(top_up::kWindow);
}

void profileButtonClicked() {
  openWindow(profile::kWindow);
}

void apiButtonClicked() {
  openWindow(api::kWindow);
}

void promotionButtonClicked() {
  openWindow(promotion::kWindow);
}

}  // namespace velmora::app
