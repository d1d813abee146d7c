#include "FormCopyright.h"

#include "CjkFont.h"
#include "Twips.h"
#include "WebAddresses.h"

#include <QPlainTextEdit>

FormCopyright::FormCopyright(QWidget *parent)
    : FramedPopup(kWidth, kHeight, parent)
{
    setObjectName(QStringLiteral("formCopyright"));
    setWindowTitle(QStringLiteral("版权声明"));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(120, 120, 3975, 2775));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setFont(CjkFont::song(9));
}

QStringList FormCopyright::noticeLines()
{
    return {
        QStringLiteral("Vexa Sudoku 数独 版权声明"),
        QString(),
        QStringLiteral("本软件的全部组件，包括可执行程序、题库、图片、声音和说明文档，其版权均归 Lumbrook "
                       "Studio 所有，受著作权法保护。"),
        QString(),
        QStringLiteral("一、本软件是免费软件。任何个人或单位均可免费使用本软件。"),
        QStringLiteral("二、欢迎将本软件转给他人，但必须保持软件完整、原样，不得增删或改动其中任何文件，"),
        QStringLiteral("    也不得以任何形式收取费用。"),
        QStringLiteral("三、未经 Lumbrook Studio 书面许可，不得修改、反编译或反汇编本软件，"),
        QStringLiteral("    不得出租、出售本软件，也不得将其捆绑在收费产品中发行。"),
        QStringLiteral("四、本软件按“现状”提供，不附带任何明示或暗示的担保，"),
        QStringLiteral("    包括但不限于对适销性和适用于特定用途的担保。"),
        QStringLiteral("五、因使用或无法使用本软件而造成的任何直接或间接损失，"),
        QStringLiteral("    包括数据丢失，Lumbrook Studio 均不承担责任。"),
        QStringLiteral("六、文中提到的其他产品名称和商标，归其各自的所有者所有。"),
        QStringLiteral("七、“更新验证”只读取我们网站上的版本信息，不收集您的任何个人资料。"),
        QStringLiteral("八、使用、复制或传播本软件，即表示您已阅读并同意本声明的全部条款。"),
        QString(),
        QStringLiteral("如有问题或建议，欢迎通过我们的网站与我们联系："),
        WebAddresses::homePage(),
        QString(),
        QStringLiteral("本声明如有更新，以我们网站上公布的最新版本为准。"),
        QStringLiteral("感谢您选用 Vexa Sudoku 数独！"),
        QString(),
        QStringLiteral("Copyright © Lumbrook Studio"),
        QStringLiteral("保留所有权利。"),
    };
}

QString FormCopyright::notice()
{
    return noticeLines().join(QStringLiteral("\r\n"));
}

void FormCopyright::load(const QRect &mainRect)
{
    loadFrame(mainRect);

    QPalette text = Text1->palette();
    text.setColor(QPalette::Base, palette().color(QPalette::Button));
    Text1->setPalette(text);
    QString shown = notice();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);
}
