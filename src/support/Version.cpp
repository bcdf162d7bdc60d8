#include "support/Version.h"

#include <QLabel>
#include <QVBoxLayout>

std::optional<VersionsInfo> VersionsInfoLesen()
{
#if defined(MQ_NO_VERSION) || !defined(MQ_VERSION_MAJOR)
    return std::nullopt;
#else
    return VersionsInfo{quint16(MQ_VERSION_MAJOR), quint16(MQ_VERSION_MINOR), quint16(MQ_VERSION_RELEASE),
                        quint16(MQ_VERSION_BUILD)};
#endif
}

QString VersionsText(const std::optional<VersionsInfo> &Info)
{
    if (!Info)
        return QStringLiteral("0.0.0.0");
    return QStringLiteral("%1.%2.%3 [Build %4]").arg(Info->Major).arg(Info->Minor).arg(Info->Release).arg(Info->Build);
}

TfVersion::TfVersion(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("fVersion"));
    auto *layout = new QVBoxLayout(this);
    QLabel **labels[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        *labels[i] = new QLabel(this);
        (*labels[i])->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        layout->addWidget(*labels[i]);
    }
    FormCreate();
}

QString TfVersion::ExtractVersionInfo() const
{
    return VersionsText(VersionsInfoLesen());
}

void TfVersion::FormCreate()
{
    VersionText = ExtractVersionInfo();
}
