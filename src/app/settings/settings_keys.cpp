#include "settings_keys.h"

namespace settings {

const QList<KeyInfo>& allKeys() {
    static const QList<KeyInfo> keys = {
        {u"常规选项"_qs, u"启动"_qs, Form::Flag},
        {u"常规选项"_qs, u"界面"_qs, Form::Flag},
        {u"常规选项"_qs, u"浮动"_qs, Form::Flag},
        {u"黄金选项"_qs, u"工行数据"_qs, Form::Flag},
        {u"黄金选项"_qs, u"建行数据"_qs, Form::Flag},
        {u"黄金选项"_qs, u"中行数据"_qs, Form::Flag},
        {u"黄金选项"_qs, u"提醒"_qs, Form::Flag},
        {u"提醒设置"_qs, u"买入价低于"_qs, Form::Flag},
        {u"提醒设置"_qs, u"买入价低于数值"_qs, Form::Text},
        {u"提醒设置"_qs, u"买入价高于"_qs, Form::Flag},
        {u"提醒设置"_qs, u"买入价高于数值"_qs, Form::Text},
        {u"提醒设置"_qs, u"卖出价低于"_qs, Form::Flag},
        {u"提醒设置"_qs, u"卖出价低于数值"_qs, Form::Text},
        {u"提醒设置"_qs, u"卖出价高于"_qs, Form::Flag},
        {u"提醒设置"_qs, u"卖出价高于数值"_qs, Form::Text},
        {u"提醒设置"_qs, u"工行提醒选中"_qs, Form::Flag},
        {u"提醒设置"_qs, u"建行提醒选中"_qs, Form::Flag},
        {u"提醒设置"_qs, u"中行提醒选中"_qs, Form::Flag},
        {u"提醒设置"_qs, u"声音提醒选中"_qs, Form::Flag},
        {u"提醒设置"_qs, u"气泡提醒选中"_qs, Form::Flag},
        {u"声音提醒"_qs, u"系统声音使用"_qs, Form::Flag},
        {u"声音提醒"_qs, u"自定义声音使用"_qs, Form::Flag},
        {u"声音提醒"_qs, u"系统声音"_qs, Form::Integer},
        {u"声音提醒"_qs, u"自定义声音"_qs, Form::Text},
        {u"浮动窗口"_qs, u"透明度"_qs, Form::Integer},
        {u"浮动窗口"_qs, u"行情小窗口透明度"_qs, Form::Integer},
        {u"浮动窗口"_qs, u"刷新速度"_qs, Form::Integer},
        {u"浮动窗口"_qs, u"自动隐藏"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"置前"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"工行价格选中"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"建行价格选中"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"中行价格选中"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"涨跌情况选中"_qs, Form::Flag},
        {u"浮动窗口"_qs, u"涨跌买入价数值"_qs, Form::Text},
        {u"浮动窗口"_qs, u"桌面窗口置前"_qs, Form::Flag},
        {u"路径"_qs, u"MT4目录"_qs, Form::Text},
    };
    return keys;
}

QString designDefault(Form form) {
    return form == Form::Text ? QString() : u"0"_qs;
}

} // namespace settings
