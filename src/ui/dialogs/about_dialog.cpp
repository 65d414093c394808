#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "services/error_report_text.h"
#include "services/product.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/web_link.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

QPointer<frmAbout_NEW>& Loaded() {
  static QPointer<frmAbout_NEW> instance;
  return instance;
}

QLabel* AddPicture(QWidget* parent, const QString& name, const QString& accessible, const QString& path, double left,
                   double top, double width, double height) {
  auto* picture = new QLabel(parent);
  picture->setObjectName(name);
  picture->setAccessibleName(accessible);
  picture->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
  picture->setPixmap(DialogPicture(path, picture->size(), parent->devicePixelRatioF()));
  return picture;
}

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
  Loaded() = this;
  setObjectName(QStringLiteral("frmAbout_NEW"));
  MakeFixedDialog(6960, 4980);
  PaintWhite(this);

  picCont = new QWidget(this);
  picCont->setObjectName(QStringLiteral("picCont(0)"));
  picCont->setAccessibleName(QStringLiteral("About"));
  picCont->setGeometry(TwipsToPixels(30), TwipsToPixels(60), TwipsToPixels(6885), TwipsToPixels(4035));

  picProgLogo = AddPicture(picCont, QStringLiteral("picProgLogo"), ToQString(product::kName) + QStringLiteral(" logo"),
                           QStringLiteral(":/dialogs/product_logo.svg"), 600, 180, 1020, 1020);
  picCompanyLogo = AddPicture(picCont, QStringLiteral("picCompanyLogo"),
                              ToQString(product::kMakerName) + QStringLiteral(" logo"),
                              QStringLiteral(":/dialogs/company_logo.svg"), 1740, 420, 1170, 540);

  lblTitle = AddLabel(picCont, QStringLiteral("lblTitle"), QString(), 3060, 420, 3195, 270);
  QFont title_font(QStringLiteral("MS Sans Serif"));
  title_font.setPointSizeF(9.75);
  title_font.setBold(true);
  lblTitle->setFont(title_font);
  lblVersion = AddLabel(picCont, QStringLiteral("lblVersion"), QString(), 3060, 810, 3195, 270);
  lblAddress = AddLabel(picCont, QStringLiteral("lblAddress"), QString(), 465, 1260, 2475, 1035);
  lblAddress->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblDeveloped = AddLabel(picCont, QStringLiteral("lblDeveloped"), QString(), 3030, 1290, 3795, 270);
  lblCopyright = AddLabel(picCont, QStringLiteral("lblCopyright"), QString(), 3030, 1605, 3675, 270);

  lblWebAddress = new ClickLabel(picCont);
  lblWebAddress->setObjectName(QStringLiteral("lblWebAddress"));
  lblWebAddress->setGeometry(TwipsToPixels(75), TwipsToPixels(2610), TwipsToPixels(6705), TwipsToPixels(255));
  QFont link_font(QStringLiteral("Arial"));
  link_font.setPointSizeF(9);
  link_font.setUnderline(true);
  lblWebAddress->setFont(link_font);
  lblWebAddress->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  QPalette link_palette = lblWebAddress->palette();
  link_palette.setColor(QPalette::WindowText, Qt::blue);
  lblWebAddress->setPalette(link_palette);

  lblDisclaimer = AddLabel(picCont, QStringLiteral("lblDisclaimer"), QString(), 480, 3045, 5865, 975);
  lblDisclaimer->setWordWrap(true);
  lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont small = DialogFont(8);
  lblDisclaimer->setFont(small);

  CreateBottomStrip(840);
  cmdOK = AddButton(picBottom, QStringLiteral("cmdOK"), QStringLiteral("&OK"), 5640, 225, 1185, 390);
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);
  connect(lblWebAddress, &ClickLabel::Clicked, this, &frmAbout_NEW::lblWebAddress_Click);
  connect(this, &DialogPattern::Unloaded, this, [this] {
    if (Loaded() == this) Loaded() = nullptr;
  });

  Form_Load();
}

frmAbout_NEW::~frmAbout_NEW() {
  if (Loaded() == this) Loaded() = nullptr;
}

frmAbout_NEW* frmAbout_NEW::Instance() { return Loaded(); }

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

void frmAbout_NEW::lblWebAddress_Click() {
  OpenWebPageFor(this, TrimBlanks(ToStdString(lblWebAddress->Tag())), false);
}

}  // namespace serenitap
