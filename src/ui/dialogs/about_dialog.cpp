#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "services/error_report_text.h"
#include "services/product.h"
#include "services/trim.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/web_link.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

QLabel* AddPicture(QWidget* parent, const DialogControl& control, const QString& accessible, const QString& path) {
  auto* picture = new QLabel(parent);
  PlaceControl(picture, control);
  picture->setAccessibleName(accessible);
  picture->setPixmap(DialogPicture(path, picture->size(), parent->devicePixelRatioF()));
  return picture;
}

// clang-format off
struct DesignedControls {
  DialogControl picCont0;
  DialogControl picProgLogo;
  DialogControl picCompanyLogo;
  DialogControl lblTitle;
  DialogControl lblVersion;
  DialogControl lblAddress;
  DialogControl lblDeveloped;
  DialogControl lblCopyright;
  DialogControl lblWebAddress;
  DialogControl lblDisclaimer;
  DialogControl cmdOK;
};
constexpr DesignedControls kControls{
    //                 name             caption   left   top  width  height
    .picCont0 =       {"picCont(0)",      "",         30,   60,  6885,  4035},
    .picProgLogo =    {"picProgLogo",     "",        600,  180,  1020,  1020},
    .picCompanyLogo = {"picCompanyLogo",  "",       1740,  420,  1170,   540},
    .lblTitle =       {"lblTitle",        "",       3060,  420,  3195,   270},
    .lblVersion =     {"lblVersion",      "",       3060,  810,  3195,   270},
    .lblAddress =     {"lblAddress",      "",        465, 1260,  2475,  1035},
    .lblDeveloped =   {"lblDeveloped",    "",       3030, 1290,  3795,   270},
    .lblCopyright =   {"lblCopyright",    "",       3030, 1605,  3675,   270},
    .lblWebAddress =  {"lblWebAddress",   "",         75, 2610,  6705,   255},
    .lblDisclaimer =  {"lblDisclaimer",   "",        480, 3045,  5865,   975},
    .cmdOK =          {"cmdOK",           "&OK",    5640,  225,  1185,   390},
};
constexpr DialogDesign kDesign{6960, 4980, 840};
// clang-format on

}  // namespace

std::string VersionLine(int major, int minor, int revision) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor) + " Build " + std::to_string(revision);
}

std::string MakerAddressText() {
  return std::string(product::kMakerStreet) + "\r\n" + std::string(product::kMakerCity) + "\r\n" +
         std::string(product::kMakerRegion) + "\r\n" + std::string(product::kMakerEmail);
}

std::string CopyrightWarningText() {
  return "Warning: this program is protected by copyright law and international treaties. Copying or distributing "
         "it, or any part of it, without the permission of " +
         std::string(product::kMakerName) + " may result in civil and criminal penalties.";
}

frmAbout_NEW::frmAbout_NEW(QWidget* owner) : DialogPattern(owner) {
  LoadedWindow<frmAbout_NEW>::Register(this);
  setObjectName(QStringLiteral("frmAbout_NEW"));
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  picCont = new QWidget(this);
  PlaceControl(picCont, kControls.picCont0);
  picCont->setAccessibleName(QStringLiteral("About"));

  picProgLogo = AddPicture(picCont, kControls.picProgLogo, ToQString(product::kName) + QStringLiteral(" logo"),
                           QStringLiteral(":/dialogs/product_logo.svg"));
  picCompanyLogo =
      AddPicture(picCont, kControls.picCompanyLogo, ToQString(product::kMakerName) + QStringLiteral(" logo"),
                 QStringLiteral(":/dialogs/company_logo.svg"));

  lblTitle = AddLabel(picCont, kControls.lblTitle);
  QFont titleFont = DialogFont(9.75);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblVersion = AddLabel(picCont, kControls.lblVersion);
  lblAddress = AddLabel(picCont, kControls.lblAddress);
  lblAddress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDeveloped = AddLabel(picCont, kControls.lblDeveloped);
  lblCopyright = AddLabel(picCont, kControls.lblCopyright);

  lblWebAddress = new ClickLabel(picCont);
  PlaceControl(lblWebAddress, kControls.lblWebAddress);
  QFont linkFont = DialogFont(9);
  linkFont.setUnderline(true);
  lblWebAddress->setFont(linkFont);
  lblWebAddress->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  QPalette linkPalette = lblWebAddress->palette();
  linkPalette.setColor(QPalette::WindowText, Qt::blue);
  lblWebAddress->setPalette(linkPalette);

  lblDisclaimer = AddLabel(picCont, kControls.lblDisclaimer);
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont small = DialogFont(8);
  lblDisclaimer->setFont(small);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdOK = AddButton(picBottom, kControls.cmdOK);
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
  connect(lblWebAddress, &ClickLabel::Clicked, this, &frmAbout_NEW::lblWebAddress_Click);

  Form_Load();
}

frmAbout_NEW::~frmAbout_NEW() { LoadedWindow<frmAbout_NEW>::Forget(this); }

void frmAbout_NEW::ShowModal(QWidget* owner) {
  auto window = std::make_unique<frmAbout_NEW>(owner);
  window->ShowUp();
}

void frmAbout_NEW::ShowUp() { exec(); }

void frmAbout_NEW::Form_Load() {
  CenterForm(*this);
  lblCopyright->setText(ToQString(product::kCopyright));
  lblAddress->setText(ForDisplay(MakerAddressText()));
  lblWebAddress->setText(ToQString(product::kWebAddress));
  lblWebAddress->SetTag(ToQString(product::kWebAddress));
  setWindowTitle(QStringLiteral("About ") + ToQString(product::kName));
  lblVersion->setText(
      ToQString(VersionLine(product::kVersionMajor, product::kVersionMinor, product::kVersionRevision)));
  lblTitle->setText(ToQString(product::kName));
  lblDeveloped->setText(QStringLiteral("Developed By: ") + ToQString(product::kDeveloperName));
  lblDisclaimer->setText(ToQString(CopyrightWarningText()));
  for (QLabel* label : {lblTitle, lblVersion, lblAddress, lblDeveloped, lblCopyright,
                        static_cast<QLabel*>(lblWebAddress), lblDisclaimer}) {
    label->setAccessibleName(label->text());
  }
}

void frmAbout_NEW::lblWebAddress_Click() { OpenWebPageFor(this, TrimBlanks(ToStdString(lblWebAddress->Tag())), false); }

}  // namespace serenitap
