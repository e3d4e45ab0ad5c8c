#include "localisation/catalogue.h"
#include "main_window/layout.h"
#include "unattended/unattended.h"

namespace zoriza {

namespace {

std::vector<std::wstring> Texts(const auto& source) { return {source.begin(), source.end()}; }

std::wstring DesignText(ControlId id) { return DesignOf(id).designText; }

}  // namespace

HeadlessForm::HeadlessForm(const FormServices& formServices, const StartingPoint& start, bool everyUser)
    : services{formServices.files, formServices.environment, formServices.languageIds,
               everyUser ? noSettings : formServices.registry, formServices.shell},
      window(kDesignCaption),
      Lang(Texts(kLanguageNames)),
      App(Texts(kEditionCaptions)),
      Frame1(DesignText(ControlId::Frame1)),
      Search(DesignText(ControlId::Search)),
      Drive1(start.drives, start.folder),
      Dir1(services.files, start.folder),
      Frame2(DesignText(ControlId::Frame2)),
      Frame3(DesignText(ControlId::Frame3)),
      Icona(DesignText(ControlId::Icona)),
      Intro(DesignText(ControlId::Intro)),
      form(FormControls{window, Lang, App, Frame1, Search, Drive1, Dir1, Frame2, Platform, Frame3, Icona, Intro},
           services) {}

}  // namespace zoriza
