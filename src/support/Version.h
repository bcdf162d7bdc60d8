#pragma once

// The program's own version, as the build embedded it.

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;

struct VersionsInfo
{
    quint16 Major = 0;
    quint16 Minor = 0;
    quint16 Release = 0;
    quint16 Build = 0;
};

// The version numbers of this build; none when the build carries no version information.
std::optional<VersionsInfo> VersionsInfoLesen();
// "major.minor.release [Build n]", or "0.0.0.0" without version information.
QString VersionsText(const std::optional<VersionsInfo> &Info);

// Never shown: works out the version text once, when it is created.
class TfVersion : public QWidget
{
    Q_OBJECT
public:
    explicit TfVersion(QWidget *parent = nullptr);

    QString ExtractVersionInfo() const;

    QString VersionText;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;

private:
    void FormCreate();
};
