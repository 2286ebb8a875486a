#include "medicines/common_names.h"

namespace velmora {

QStringList commonMedicineNames()
{
    return {
        // Blood pressure.
        QStringLiteral("氨氯地平"), QStringLiteral("左旋氨氯地平"), QStringLiteral("硝苯地平"),
        QStringLiteral("非洛地平"), QStringLiteral("拉西地平"), QStringLiteral("贝尼地平"),
        QStringLiteral("缬沙坦"), QStringLiteral("氯沙坦"), QStringLiteral("厄贝沙坦"),
        QStringLiteral("替米沙坦"), QStringLiteral("坎地沙坦"), QStringLiteral("奥美沙坦"),
        QStringLiteral("沙库巴曲缬沙坦"), QStringLiteral("依那普利"), QStringLiteral("贝那普利"),
        QStringLiteral("培哚普利"), QStringLiteral("福辛普利"), QStringLiteral("卡托普利"),
        QStringLiteral("美托洛尔"), QStringLiteral("比索洛尔"), QStringLiteral("阿替洛尔"),
        QStringLiteral("卡维地洛"), QStringLiteral("氢氯噻嗪"), QStringLiteral("吲达帕胺"),
        QStringLiteral("螺内酯"), QStringLiteral("特拉唑嗪"), QStringLiteral("多沙唑嗪"),
        // Blood lipids.
        QStringLiteral("阿托伐他汀"), QStringLiteral("瑞舒伐他汀"), QStringLiteral("辛伐他汀"),
        QStringLiteral("普伐他汀"), QStringLiteral("匹伐他汀"), QStringLiteral("氟伐他汀"),
        QStringLiteral("依折麦布"), QStringLiteral("非诺贝特"), QStringLiteral("苯扎贝特"),
        // Diabetes.
        QStringLiteral("二甲双胍"), QStringLiteral("格列美脲"), QStringLiteral("格列齐特"),
        QStringLiteral("格列吡嗪"), QStringLiteral("瑞格列奈"), QStringLiteral("阿卡波糖"),
        QStringLiteral("伏格列波糖"), QStringLiteral("西格列汀"), QStringLiteral("利格列汀"),
        QStringLiteral("沙格列汀"), QStringLiteral("达格列净"), QStringLiteral("恩格列净"),
        QStringLiteral("卡格列净"), QStringLiteral("吡格列酮"), QStringLiteral("利拉鲁肽"),
        QStringLiteral("司美格鲁肽"), QStringLiteral("胰岛素"),
        // Antiplatelet.
        QStringLiteral("阿司匹林"), QStringLiteral("氯吡格雷"), QStringLiteral("替格瑞洛"),
        QStringLiteral("吲哚布芬"), QStringLiteral("西洛他唑"),
    };
}

} // namespace velmora
